#include <windows.h>

#include "bench_support.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

#include "platform/win32/win32_handles.h"
#include "registry/key_paths.h"

namespace kelpo::bench {
namespace {

std::int64_t Ticks() {
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

double SecondsOf(const FILETIME& time) {
  const ULARGE_INTEGER hundreds{{time.dwLowDateTime, time.dwHighDateTime}};
  return static_cast<double>(hundreds.QuadPart) / 1e7;
}

UniqueWideKey OpenForReading(const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS)
    return UniqueWideKey();
  return UniqueWideKey(key);
}

// Registry names and data here are plain ASCII; anything else is dropped to '?' rather than
// written in a code page regedit might read differently.
std::string Ascii(const std::wstring& text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (const wchar_t c : text) bytes.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return bytes;
}

std::string Quoted(const std::wstring& text) {
  std::string quoted = "\"";
  for (const char c : Ascii(text)) {
    if (c == '\\' || c == '"') quoted.push_back('\\');
    quoted.push_back(c);
  }
  return quoted + "\"";
}

std::string ValueLine(const std::wstring& name, DWORD type, const std::vector<BYTE>& data, DWORD size) {
  std::string line = name.empty() ? "@=" : Quoted(name) + "=";
  if (type == REG_DWORD && size == sizeof(DWORD)) {
    DWORD number = 0;
    std::copy_n(data.begin(), sizeof number, reinterpret_cast<BYTE*>(&number));
    std::array<char, 16> digits{};
    std::snprintf(digits.data(), digits.size(), "dword:%08lx", static_cast<unsigned long>(number));
    return line + digits.data() + "\r\n";
  }
  if (type == REG_SZ) {
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
    text.resize(std::min(text.size(), text.find(L'\0')));
    return line + Quoted(text) + "\r\n";
  }
  std::array<char, 16> prefix{};
  std::snprintf(prefix.data(), prefix.size(), "hex(%lx):", static_cast<unsigned long>(type));
  line += prefix.data();
  for (DWORD i = 0; i < size; ++i) {
    std::array<char, 4> hex{};
    std::snprintf(hex.data(), hex.size(), i == 0 ? "%02x" : ",%02x", data[i]);
    line += hex.data();
  }
  return line + "\r\n";
}

void AppendKey(const std::wstring& path, std::string& script) {
  const UniqueWideKey key = OpenForReading(path);
  if (!key) return;
  script += "\r\n[HKEY_CURRENT_USER\\" + Ascii(path) + "]\r\n";
  std::array<wchar_t, 16384> name{};
  std::vector<BYTE> data(64 * 1024);
  for (DWORD index = 0;; ++index) {
    DWORD name_size = static_cast<DWORD>(name.size());
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(data.size());
    if (RegEnumValueW(key.get(), index, name.data(), &name_size, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
      break;
    script += ValueLine(std::wstring(name.data(), name_size), type, data, size);
  }
  std::vector<std::wstring> subkeys;
  for (DWORD index = 0;; ++index) {
    DWORD name_size = static_cast<DWORD>(name.size());
    if (RegEnumKeyExW(key.get(), index, name.data(), &name_size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    subkeys.emplace_back(name.data(), name_size);
  }
  for (const std::wstring& subkey : subkeys) AppendKey(path + L"\\" + subkey, script);
}

}  // namespace

Stopwatch::Stopwatch() : start_(Ticks()) {}

double Stopwatch::Seconds() const {
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(Ticks() - start_) / static_cast<double>(frequency.QuadPart);
}

double ProcessCpuSeconds() {
  FILETIME created{}, ended{}, kernel{}, user{};
  if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user)) return -1;
  return SecondsOf(kernel) + SecondsOf(user);
}

int AnsweringDesktop::ShowMessage(const std::wstring&, const std::wstring&, unsigned) {
  ++questions_;
  return box::kAnswerYes;
}

bool RunToEnd(const std::wstring& command_line) {
  std::wstring mutable_line = command_line;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, mutable_line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                      &startup, &started))
    return false;
  const UniqueHandle process(started.hProcess);
  const UniqueHandle thread(started.hThread);
  DWORD exit_code = 1;
  return WaitForSingleObject(process.get(), INFINITE) == WAIT_OBJECT_0 &&
         GetExitCodeProcess(process.get(), &exit_code) && exit_code == 0;
}

std::vector<std::wstring> SiteKeyPaths() { return {std::wstring(keys::kDomains), std::wstring(keys::kRanges), std::wstring(keys::kBaiduWhiteList)}; }

bool ExportAsRegistryScript(const std::vector<std::wstring>& key_paths, const std::wstring& file) {
  std::string script = "REGEDIT4\r\n";
  for (const std::wstring& path : key_paths) AppendKey(path, script);
  return WriteFileBytes(file, script + "\r\n");
}

void DeleteKeyTrees(const std::vector<std::wstring>& key_paths) {
  for (const std::wstring& path : key_paths)
    for (const REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
      HKEY key = nullptr;
      if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS) continue;
      const UniqueWideKey open(key);
      RegDeleteTreeW(open.get(), nullptr);
      RegDeleteKeyExW(HKEY_CURRENT_USER, path.c_str(), view, 0);
    }
}

bool WriteFileBytes(const std::wstring& file, const std::string& bytes) {
  const UniqueHandle handle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                        nullptr));
  DWORD written = 0;
  return handle && WriteFile(handle.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace kelpo::bench
