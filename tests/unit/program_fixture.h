#pragma once
// A whole program headless: the in-memory registry, files and desktop, and a window manager,
// for driving the windows and reading their controls.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/sim/sim_platform.h"
#include "windows/window.h"
#include "windows/window_manager.h"

namespace kelpo::testing {

inline const std::wstring kProgramFolder = kSimProgramFolder;

// Everything a run of the program needs, headless. Not copyable: the platform refers to it.
struct ProgramWorld : SimPlatform {
  WindowManager windows{desktop};
  WindowContext context{platform, windows};

  void SetRaw(HKey root, const std::wstring& path, const std::wstring& name, std::uint32_t type,
              const std::string& bytes) {
    HKey key = 0;
    ASSERT_EQ(registry.CreateKey(root, codec.ToAnsi(path), &key), reg::kSuccess);
    registry.SetValue(key, codec.ToAnsi(name), type, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                      static_cast<std::uint32_t>(bytes.size()));
    registry.CloseKey(key);
  }
  // A REG_SZ with its terminating zero.
  void SetSz(HKey root, const std::wstring& path, const std::wstring& name, const std::wstring& text) {
    SetRaw(root, path, name, reg::kRegSz, codec.ToAnsi(text) + '\0');
  }
  void SetDword(HKey root, const std::wstring& path, const std::wstring& name, std::uint32_t value) {
    const std::string bytes{static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
                            static_cast<char>(value >> 24)};
    SetRaw(root, path, name, reg::kRegDword, bytes);
  }
  void CreateKey(HKey root, const std::wstring& path) {
    HKey key = 0;
    ASSERT_EQ(registry.CreateKey(root, codec.ToAnsi(path), &key), reg::kSuccess);
    registry.CloseKey(key);
  }
  bool KeyExists(HKey root, const std::wstring& path) {
    HKey key = 0;
    if (registry.OpenKey(root, codec.ToAnsi(path), &key) != reg::kSuccess) return false;
    registry.CloseKey(key);
    return true;
  }

  // The three companion files, the set-up file holding `ini`.
  void PutCompanionFiles(const std::string& ini = "") {
    files.PutCompanion(L"TrustedSites.reg", "REGEDIT4\r\n");
    files.PutCompanion(L"install_flash_player_10_active_x.exe", "MZ");
    files.PutCompanion(L"Kelpo.ini", ini);
  }

  std::vector<std::wstring> OpenWindowNames() const {
    std::vector<std::wstring> names;
    for (const Window* window : windows.open_windows()) names.push_back(window->name());
    return names;
  }

  // Loads and shows a window of type W and returns it while it is open.
  template <typename W>
  W& Open() {
    windows.Show(std::make_unique<W>(context));
    W* window = windows.Find<W>();
    if (window == nullptr) throw std::logic_error("the window did not stay open");
    return *window;
  }
};

class ProgramTest : public ::testing::Test, public ProgramWorld {};

inline std::wstring Hyphens(std::size_t count) { return std::wstring(count, L'-'); }

}  // namespace kelpo::testing
