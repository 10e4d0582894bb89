// The host file layer on Windows.
#include <windows.h>

#include <algorithm>
#include <string>

#include "common/file_name.h"
#include "common/text.h"
#include "front/host_files.h"

namespace {

HANDLE Handle(FileHandle file) {
  return reinterpret_cast<HANDLE>(file);
}

FileHandle FromHandle(HANDLE handle) {
  return handle == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<FileHandle>(handle);
}

FileHandle OpenForReading(const char* path) {
  return FromHandle(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool SizeBySeeking(FileHandle file, std::uint64_t* size) {
  LARGE_INTEGER end{}, start{};
  if (!SetFilePointerEx(Handle(file), LARGE_INTEGER{}, &end, FILE_END)) return false;
  if (!SetFilePointerEx(Handle(file), LARGE_INTEGER{}, &start, FILE_BEGIN)) return false;
  *size = static_cast<std::uint64_t>(end.QuadPart);
  return true;
}

std::size_t ReadUpTo(FileHandle file, std::uint8_t* into, std::size_t count) {
  std::size_t done = 0;
  while (done < count) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(Handle(file), into + done, chunk, &got, nullptr) || got == 0) break;
    done += got;
  }
  return done;
}

PathState InspectPath(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? PathState::kMissing
                                                                          : PathState::kNotAFile;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return PathState::kNotAFile;
  return (attributes & FILE_ATTRIBUTE_READONLY) ? PathState::kReadOnly : PathState::kWritable;
}

bool SameFile(const char* a, const char* b) {
  const auto identify = [](const char* path, BY_HANDLE_FILE_INFORMATION* info) {
    const HANDLE h = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const BOOL ok = GetFileInformationByHandle(h, info);
    CloseHandle(h);
    return ok != FALSE;
  };
  BY_HANDLE_FILE_INFORMATION ia{}, ib{};
  if (identify(a, &ia) && identify(b, &ib)) {
    return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
           ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
  }
  // Without identities, compare the full names as the file system does: ignoring case.
  char fullA[MAX_PATH * 2], fullB[MAX_PATH * 2];
  const DWORD na = GetFullPathNameA(a, sizeof fullA, fullA, nullptr);
  const DWORD nb = GetFullPathNameA(b, sizeof fullB, fullB, nullptr);
  return na > 0 && na < sizeof fullA && nb > 0 && nb < sizeof fullB && lstrcmpiA(fullA, fullB) == 0;
}

FileHandle CreateTempBeside(const char* finalPath, char* tempPath, std::size_t tempCapacity) {
  std::string folder(finalPath);
  const std::size_t nameStart = FileNameStart(folder);
  folder = nameStart == 0 ? std::string(".") : folder.substr(0, nameStart);
  char name[MAX_PATH];
  // Creates the file with a name no other file has, which CREATE_ALWAYS then opens.
  if (GetTempFileNameA(folder.c_str(), "tmt", 0, name) == 0) return kNoFile;
  const HANDLE h =
      CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE || !CopyText({tempPath, tempCapacity}, name)) {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    DeleteFileA(name);
    return kNoFile;
  }
  return FromHandle(h);
}

bool WritePieces(FileHandle file, std::span<const std::span<const std::uint8_t>> pieces) {
  for (const auto& piece : pieces) {
    std::size_t done = 0;
    while (done < piece.size()) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(piece.size() - done, 1u << 30));
      DWORD put = 0;
      if (!WriteFile(Handle(file), piece.data() + done, chunk, &put, nullptr) || put == 0) {
        return false;
      }
      done += put;
    }
  }
  return true;
}

bool CloseFile(FileHandle file) {
  return CloseHandle(Handle(file)) != FALSE;
}

bool CopyPermissions(const char* from, const char* to) {
  // Only these attributes can be given to a file; a file without any is a normal one.
  constexpr DWORD kSettable = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                              FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_READONLY |
                              FILE_ATTRIBUTE_SYSTEM;
  const DWORD attributes = GetFileAttributesA(from);
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  const DWORD kept = attributes & kSettable;
  return SetFileAttributesA(to, kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL) != FALSE;
}

bool MoveOnto(const char* from, const char* to) {
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != FALSE;
}

void RemoveFile(const char* path) {
  DeleteFileA(path);
}

constexpr FileOps kWin32FileOps{
    OpenForReading,   SizeBySeeking, ReadUpTo,  AllocateBytes,   InspectPath, SameFile,
    CreateTempBeside, WritePieces,   CloseFile, CopyPermissions, MoveOnto,    RemoveFile,
};

}  // namespace

const FileOps& SystemFileOps() {
  return kWin32FileOps;
}
