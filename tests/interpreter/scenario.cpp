#include "scenario.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "front/control_ids.h"
#include "model_bytes.h"

namespace {

const std::pair<int, std::string> kControls[] = {{IDC_PATH_BOX, "path box"},
                                                 {IDC_SELECT_NIF, "Select NIF"},
                                                 {IDC_TEXTURE_LIST, "texture list"},
                                                 {IDC_REPLACEMENT_LIST, "replacement list"},
                                                 {IDC_SELECT_TEXTURES, "Select Textures"},
                                                 {IDC_CREATE_NIFS, "Create NIFs"},
                                                 {IDC_FOLDER_BOX, "folder box"}};

[[noreturn]] void FailAt(const Step& step, const std::string& why) {
  Fail("line " + std::to_string(step.line) + " (" + step.verb + " " + step.text + "): " + why);
}

// When every file a session makes was last written: a day before the run, in whole seconds
// that any file system keeps, so that a file written since shows.
const fs::file_time_type kMadeTime = std::chrono::floor<std::chrono::seconds>(
    fs::file_time_type::clock::now() - std::chrono::hours(24));

// One action with the message boxes, answers and screenshots that follow it.
std::size_t ReadAction(const std::vector<Step>& steps, std::size_t i, const Folder& folder,
                       Action& action, std::vector<std::string>& boxes) {
  const Step& step = steps[i];
  const auto [button, answer] = Cut(step.text, ", ");
  action.what = step.verb, action.button = button;
  if (step.verb == "select") action.row = std::stoi(step.text.substr(4));  // "row N"
  const std::vector<std::string> words = Words(answer);
  if (!words.empty()) action.dialog = words[0];
  for (std::size_t w = 1; w < words.size(); ++w) {
    const std::string file = Expand(words[w], folder);
    action.files.push_back(
        action.dialog == "choose" ? (folder.work / file).make_preferred().string() : file);
  }
  for (++i; i < steps.size() && (steps[i].verb == "message" || !boxes.empty()); ++i) {
    if (steps[i].verb == "message") {
      boxes.push_back(Expand(steps[i].text, folder, true));
      action.answers.emplace_back(steps[i].text.starts_with("question") ? "" : "OK");
      action.shots.emplace_back();
    } else if (steps[i].verb == "answer" || steps[i].verb == "screenshot") {
      (steps[i].verb == "answer" ? action.answers : action.shots).back() = steps[i].text;
    } else {
      break;
    }
  }
  if (std::ranges::count(action.answers, "") > 0) FailAt(step, "a question needs an answer");
  return i;
}

void ExpectView(const Step& step, const Frontend& frontend, const Folder& folder) {
  auto [what, value] = Cut(step.text, ":");
  value = Expand(value.erase(0, value.starts_with(' ')), folder);
  const View view = frontend.look();
  if (!view.contains(what)) FailAt(step, "unknown expectation");
  if (view.at(what) != value) FailAt(step, what + " is \"" + view.at(what) + "\"");
}

}  // namespace

void Fail(const std::string& message) {
  throw Failure(message);
}

std::pair<std::string, std::string> Cut(const std::string& text, const std::string& separator) {
  const auto at = text.find(separator);
  if (at == std::string::npos) return {text, ""};
  return {text.substr(0, at), text.substr(at + separator.size())};
}

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

std::vector<Session> ReadScenario(const std::string& text, const std::string& name) {
  std::istringstream in(text);
  // The steps before the first session line begin every session.
  std::vector<Session> sessions = {{name, {}}};
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    std::istringstream words(line);
    std::string verb, text;
    std::getline(words >> verb >> std::ws, text);
    if (verb.empty() || verb[0] == '#') continue;
    if (verb.ends_with(':')) verb.pop_back();
    text.erase(text.find_last_not_of(" \r") + 1);
    if (verb == "session")
      sessions.push_back({text, sessions[0].steps});
    else
      sessions.back().steps.push_back({number, verb, text});
  }
  if (sessions.size() > 1) sessions.erase(sessions.begin());
  return sessions;
}

bool IsShellSession(const Session& session) {
  return std::ranges::any_of(session.steps,
                             [](const Step& s) { return s.verb == "run" || s.verb == "mistake"; });
}

std::string Expand(const std::string& text, const Folder& folder, bool escapes) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t close = text.find('}', i);
    if (escapes && text[i] == '\\' && i + 1 < text.size() && strchr("nrst\\", text[i + 1])) {
      constexpr std::string_view kEscaped = "n\nr\rs t\t\\\\";
      out += kEscaped[kEscaped.find(text[++i]) + 1];
    } else if (text[i] == '{' && close != std::string::npos) {
      const std::string inner = text.substr(i + 1, close - i - 1);
      const auto [count, repeated] = Cut(inner, "*");
      if (inner == "version") {
        out += TEXMINT_VERSION;
      } else if (!repeated.empty() && std::ranges::all_of(count, ::isdigit)) {
        for (int n = std::stoi(count); n > 0; --n) out += repeated;
      } else {
        const fs::path path = inner == "." ? folder.work : folder.work / inner;
        out += path.lexically_normal().make_preferred().string();
      }
      i = close;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string ReadFileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void MakeFiles(const Step& step, Folder& folder) {
  if (step.verb == "read-only") {
    using enum fs::perms;
    return fs::permissions(folder.work / step.text, owner_write | group_write | others_write,
                           fs::perm_options::remove);
  }
  if (step.verb == "mode") {
    const auto [path, mode] = Cut(step.text, " ");
    return fs::permissions(folder.work / path, fs::perms(std::stoi(mode, nullptr, 8)));
  }
  const auto [names, made] = Cut(step.text, " = ");
  const auto [kind, what] = Cut(made, " ");
  std::string bytes = kind == "text" ? Expand(what, folder, true) : "";
  if (kind == "fixture") bytes = ReadFileBytes(folder.models / what);
  if (kind == "model") {
    std::vector<std::string> paths;
    for (const std::string& word : Words(Expand(what, folder))) {
      const auto [path, times] = Cut(word == "\"\"" ? "" : word, "*");
      for (int n = 0; n < (times.empty() ? 1 : std::stoi(times)); ++n) {
        paths.push_back(path);
        if (const auto hash = path.find('#'); hash != path.npos)
          paths.back().replace(hash, 1, std::to_string(n));
      }
    }
    bytes = ModelNaming(paths);
  }
  if (kind == "archive") bytes = ArchiveBytes(Words(what));
  for (std::string name : Words(names)) {
    name = Expand(name, folder, true);
    fs::create_directories((folder.work / name).parent_path());
    if (kind == "unreadable") {
      folder.makeUnreadable(folder.work / name);
    } else if (!name.ends_with('/')) {
      std::ofstream(folder.work / name, std::ios::binary) << bytes;
      fs::last_write_time(folder.work / name, kMadeTime);
      folder.made[name] = bytes;
    }
  }
}

bool CheckFiles(const Step& step, const Folder& folder) {
  if (step.text.starts_with("files")) {
    const auto [where, listed] = Cut(step.text, ":");
    std::vector<std::string> expected = Words(listed), seen;
    std::error_code error;
    const fs::path dir = where == "files" ? folder.work : folder.work / where.substr(9);
    for (const auto& entry : fs::directory_iterator(dir, error))
      seen.push_back(entry.path().filename().string() + (entry.is_directory(error) ? "/" : ""));
    std::ranges::sort(expected), std::ranges::sort(seen);
    if (seen != expected) FailAt(step, "the folder holds " + ListText(seen, -1));
    return true;
  }
  if (const auto [name, mode] = Cut(step.text, " mode "); !mode.empty()) {
    const auto seen = fs::status(folder.work / name).permissions() & fs::perms::mask;
    if (seen != fs::perms(std::stoi(mode, nullptr, 8))) FailAt(step, "it has another mode");
    return true;
  }
  const bool unchanged = step.text.ends_with(" unchanged");
  auto [name, copy] = Cut(step.text, " = ");
  if (unchanged) name = copy = name.substr(0, name.size() - 10);
  if (copy.empty()) return false;
  auto [model, changes] = Cut(copy, " with ");
  if (!folder.made.contains(model)) FailAt(step, "the session made no " + model);
  const std::string& original = folder.made.at(model);
  const std::vector<RefSpan> refs = ReferenceScan(original);
  std::vector<std::pair<RefSpan, std::string>> replaced;
  for (changes += ", "; !changes.empty() && !unchanged;) {
    const auto [change, rest] = Cut(changes, ", ");
    const auto [ref, path] = Cut(change, " naming ");
    const std::size_t n = std::stoul(ref.substr(4));
    if (n >= refs.size())
      FailAt(step, model + " has " + std::to_string(refs.size()) + " references");
    replaced.emplace_back(refs[n], Expand(path, folder));
    changes = rest;
  }
  if (unchanged && fs::last_write_time(folder.work / name) != kMadeTime)
    FailAt(step, "it was written");
  const std::string expected = Replaced(original, replaced),
                    seen = ReadFileBytes(folder.work / name);
  if (const auto at = std::ranges::mismatch(seen, expected).in1; seen != expected)
    FailAt(step, "it first differs at byte " + std::to_string(at - seen.begin()));
  return true;
}

std::string ListText(const std::vector<std::string>& rows, int selection) {
  std::string text;
  for (std::size_t i = 0; i < rows.size(); ++i)
    text += (i > 0 ? " | " : "") + (int(i) == selection ? "[" + rows[i] + "]" : rows[i]);
  return text;
}

std::string BoxText(const std::string& kind, const std::string& caption, const std::string& text) {
  return kind + " \"" + caption + "\": " + text;
}

int IdOfControl(const std::string& name) {
  const auto at = std::ranges::find(kControls, name, &std::pair<int, std::string>::second);
  return at == std::end(kControls) ? 0 : at->first;
}

std::string NameOfControl(int id) {
  const auto at = std::ranges::find(kControls, id, &std::pair<int, std::string>::first);
  return at == std::end(kControls) ? "control " + std::to_string(id) : at->second;
}

void RunDialogSession(const Session& session, const Frontend& frontend, Folder& folder) {
  frontend.start();
  try {
    for (std::size_t i = 0; i < session.steps.size();) {
      const Step& step = session.steps[i++];
      if (step.verb == "press" || step.verb == "select" || step.verb == "close") {
        Action action;
        std::vector<std::string> expected;
        i = ReadAction(session.steps, i - 1, folder, action, expected);
        const std::vector<std::string> seen = frontend.act(action);
        if (seen != expected)
          FailAt(step, "the message boxes were\n" + ListText(seen, -1) + "\nexpected\n" +
                           ListText(expected, -1));
      } else if (step.verb == "have" || step.verb == "read-only") {
        MakeFiles(step, folder);
      } else if (step.verb == "screenshot") {
        frontend.screenshot(step.text);
      } else if (step.verb != "expect") {
        FailAt(step, "not a step of a dialog session");
      } else if (!CheckFiles(step, folder)) {
        ExpectView(step, frontend, folder);
      }
    }
  } catch (const Failure&) {
    frontend.finish(false);
    throw;
  }
  frontend.finish(true);
}

int RunSessions(std::vector<Session> sessions, bool shell, const Folder& base,
                void (*run)(const Session& session, Folder& folder)) {
  std::erase_if(sessions, [&](const Session& session) { return IsShellSession(session) != shell; });
  if (sessions.empty()) Fail("no session to run");
  // A read-only file of an earlier run would stop remove_all on Windows.
  std::error_code ignored;  // no folder yet, or a link that leads nowhere
  for (const auto& entry : fs::recursive_directory_iterator(base.work, ignored))
    fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ignored);
  fs::remove_all(base.work);
  int failed = 0, number = 0;
  for (const Session& session : sessions) {
    Folder folder = base;
    // A session alone has the folder to itself: its paths stay short for pictures.
    if (sessions.size() > 1) folder.work /= std::to_string(++number);
    fs::create_directories(folder.work);
    std::printf("[ RUN      ] %s\n", session.title.c_str());
    try {
      run(session, folder);
      std::printf("[       OK ] %s\n", session.title.c_str());
    } catch (const Failure& failure) {
      std::printf("[  FAILED  ] %s: %s\n", session.title.c_str(), failure.what());
      ++failed;
    }
    std::fflush(stdout);
  }
  return failed;
}
