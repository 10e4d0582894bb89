# Makes the release zip from the two Windows builds (run with cmake -P):
#   -DSOURCE_DIR=... -DVERSION=... -DI686_DIR=... -DX86_64_DIR=... -DSTAGE=... -DZIP=...
#   -DSTRIP_I686=... -DSTRIP_X86_64=...
# The files are gathered in STAGE: the programs without their symbols (half their size),
# the texts with Windows line ends, and SHA256SUMS with every other file's checksum in the
# form sha256sum -c reads.
foreach(var SOURCE_DIR VERSION I686_DIR X86_64_DIR STAGE ZIP STRIP_I686 STRIP_X86_64)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "make_zip.cmake: ${var} is not set")
  endif()
endforeach()

# Programs: where each comes from, where it goes in the zip, the strip for its machine.
set(programs
  "${I686_DIR}/texmint.exe|texmint.exe|${STRIP_I686}"
  "${I686_DIR}/cli/texmint-cli.exe|cli-32-bit/texmint-cli.exe|${STRIP_I686}"
  "${X86_64_DIR}/cli/texmint-cli.exe|cli-64-bit/texmint-cli.exe|${STRIP_X86_64}"
)

file(REMOVE_RECURSE "${STAGE}")
file(MAKE_DIRECTORY "${STAGE}")
set(files)
foreach(entry IN LISTS programs)
  string(REPLACE "|" ";" pair "${entry}")
  list(GET pair 0 from)
  list(GET pair 1 to)
  list(GET pair 2 strip)
  if(NOT EXISTS "${from}")
    message(FATAL_ERROR "make_zip.cmake: ${from} has not been built")
  endif()
  get_filename_component(folder "${STAGE}/${to}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder}")
  file(COPY_FILE "${from}" "${STAGE}/${to}")
  execute_process(COMMAND "${strip}" "${STAGE}/${to}" RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "make_zip.cmake: ${strip} ${to} failed (${result})")
  endif()
  list(APPEND files "${to}")
endforeach()

# Texts for Windows users: CRLF line ends, so that every editor shows the lines.
configure_file("${SOURCE_DIR}/packaging/README.txt.in" "${STAGE}/README.txt" @ONLY
  NEWLINE_STYLE CRLF)
configure_file("${SOURCE_DIR}/LICENSE" "${STAGE}/LICENSE" @ONLY NEWLINE_STYLE CRLF)
list(APPEND files README.txt LICENSE)

set(sums "")
foreach(file IN LISTS files)
  file(SHA256 "${STAGE}/${file}" hash)
  string(APPEND sums "${hash}  ${file}\n")
endforeach()
file(WRITE "${STAGE}/SHA256SUMS" "${sums}")
list(APPEND files SHA256SUMS)

# Written beside the target and renamed, so that a failed run leaves no partial zip.
get_filename_component(zip_dir "${ZIP}" DIRECTORY)
file(MAKE_DIRECTORY "${zip_dir}")
file(REMOVE "${ZIP}.part")
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E tar cf "${ZIP}.part" --format=zip -- ${files}
  WORKING_DIRECTORY "${STAGE}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "make_zip.cmake: cmake -E tar failed (${result})")
endif()
file(RENAME "${ZIP}.part" "${ZIP}")
