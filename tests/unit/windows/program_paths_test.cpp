// Both paths through the windows, headless: start-up to the completion window, with the
// registry afterwards as the configuration wants it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "registry/registry_reader.h"
#include "unit/program_fixture.h"
#include "windows/completion_window.h"
#include "windows/start_up_window.h"
#include "windows/system_check_window.h"
#include "windows/trusted_sites_window.h"

namespace kelpo {
namespace {

using Names = std::vector<std::wstring>;

const std::wstring kZoneMap = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\";

class ProgramPathTest : public testing::ProgramTest {
 protected:
  void StartUp() { windows.Show(std::make_unique<StartUpWindow>(context)); }
  std::wstring Dword(HKey root, const std::wstring& path, const std::wstring& name) {
    return RegistryReader(platform).ReadText(root, path, name);
  }
};

TEST_F(ProgramPathTest, InteractiveRunFromTheCheckWindowToTheCompletionReport) {
  PutCompanionFiles();
  SetSz(reg::kLocalMachine, L"SOFTWARE\\Microsoft\\Internet Explorer", L"Version", L"8.0.6001.18702");
  SetSz(reg::kLocalMachine, L"SOFTWARE\\Macromedia\\FlashPlayer", L"CurrentVersion", L"10,0,45,2");
  SetDword(reg::kCurrentUser, kZoneMap + L"Domains\\old.example.com", L"http", 2);
  SetDword(reg::kCurrentUser, kZoneMap + L"Domains\\keep.example.com", L"https", 2);
  StartUp();
  ASSERT_EQ(OpenWindowNames(), Names{L"FrmCheck"});
  windows.Find<SystemCheckWindow>()->next_button.Click();
  TrustedSitesWindow& main = *windows.Find<TrustedSitesWindow>();
  EXPECT_EQ(main.site_list.items(), (Names{L"https://keep.example.com", L"http://old.example.com"}));
  main.site_list.Click(1);
  main.delete_button.Click();
  main.address_box.SetText(L"http://www.example.com/index.htm");
  main.add_button.Click();
  main.next_button.Click();
  ASSERT_EQ(OpenWindowNames(), Names{L"frmInfo"});
  EXPECT_EQ(desktop.messages().back().text, L"确定要修改IE的属性吗？");
  EXPECT_FALSE(KeyExists(reg::kCurrentUser, kZoneMap + L"Domains\\old.example.com"));
  EXPECT_EQ(Dword(reg::kCurrentUser, kZoneMap + L"Domains\\keep.example.com", L"https"), L"2");
  EXPECT_EQ(Dword(reg::kCurrentUser, kZoneMap + L"Domains\\example.com\\www", L"http"), L"2");
  EXPECT_EQ(Dword(reg::kCurrentUser, L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\2", L"1409"),
            L"0");
  const CompletionWindow& info = *windows.Find<CompletionWindow>();
  EXPECT_EQ(info.report_list.items().front(), L"成功    关闭弹出窗口阻止程序");
  EXPECT_EQ(info.ie_version_label.caption(), L"8.0.6001.18702");
  // Flash Player 10 is current: no installer was started.
  for (const ProcCall& call : processes.journal())
    EXPECT_EQ(call.command_line.find(L"install_flash_player"), std::wstring::npos);
}

// Every key below the zone map with its values, one line each ("Domains\a.example http=2"),
// values in their stored order, a DWORD as its number and a text up to its zero.
std::vector<std::string> ZoneMapLines(testing::ProgramWorld& world, const std::string& path = "") {
  std::vector<std::string> lines;
  HKey key = 0;
  const std::string full = world.codec.ToAnsi(kZoneMap) + path;
  if (world.registry.OpenKey(reg::kCurrentUser, full, &key) != reg::kSuccess) return lines;
  for (const ListedValue& value : ListValues(world.registry, key)) {
    std::uint32_t number = 0;
    std::memcpy(&number, value.data.data(), std::min<std::size_t>(4, value.data.size()));
    lines.push_back(path + " " + value.name + "=" +
                    (value.type == reg::kRegDword ? std::to_string(number) : value.data.substr(0, value.data.find('\0'))));
  }
  std::vector<std::string> names;
  for (std::uint32_t i = 0;; ++i) {
    std::array<char, 256> name{};
    std::uint32_t size = 256;
    if (world.registry.EnumKeyEx(key, i, name.data(), &size) != reg::kSuccess) break;
    names.emplace_back(name.data(), size);
  }
  world.registry.CloseKey(key);
  for (const std::string& name : names) {
    const std::string below = path.empty() ? name : path + "\\" + name;
    lines.push_back(below);
    for (const std::string& line : ZoneMapLines(world, below)) lines.push_back(line);
  }
  return lines;
}

TEST_F(ProgramPathTest, OtherZonesAreNeitherListedNorChangedAndTheTrustedEntriesBecomeExactlyTheList) {
  PutCompanionFiles();
  SetSz(reg::kLocalMachine, L"SOFTWARE\\Macromedia\\FlashPlayer", L"CurrentVersion", L"10,0,45,2");
  const std::wstring domains = kZoneMap + L"Domains\\";
  const std::wstring ranges = kZoneMap + L"Ranges\\";
  SetDword(reg::kCurrentUser, domains + L"intranet", L"*", 1);
  SetDword(reg::kCurrentUser, domains + L"trusted.example", L"http", 2);
  SetDword(reg::kCurrentUser, domains + L"blocked.example", L"http", 4);
  SetDword(reg::kCurrentUser, domains + L"corp.example\\www", L"http", 1);
  SetDword(reg::kCurrentUser, domains + L"example.com\\www", L"http", 2);
  SetDword(reg::kCurrentUser, domains + L"bad.example\\www", L"https", 4);
  SetDword(reg::kCurrentUser, domains + L"mixed.example", L"http", 2);
  SetDword(reg::kCurrentUser, domains + L"mixed.example", L"https", 4);
  for (const auto& [range, zone] : {std::pair{L"Range1", 1u}, std::pair{L"Range2", 2u}, std::pair{L"Range3", 4u}}) {
    SetDword(reg::kCurrentUser, ranges + range, L"http", zone);
    SetSz(reg::kCurrentUser, ranges + range, L":Range", L"10.0.0." + std::to_wstring(zone));
  }
  SetDword(reg::kCurrentUser, kZoneMap + L"EscDomains\\esc.example", L"http", 2);

  StartUp();
  windows.Find<SystemCheckWindow>()->next_button.Click();
  TrustedSitesWindow& main = *windows.Find<TrustedSitesWindow>();
  EXPECT_EQ(main.site_list.items(), (Names{L"http://www.example.com", L"http://mixed.example", L"http://trusted.example",
                                            L"http://10.0.0.2"}));
  main.site_list.Click(2);
  main.delete_button.Click();
  for (const wchar_t* typed : {L"http://10.0.0.9", L"https://new.example"}) {
    main.address_box.SetText(typed);
    main.add_button.Click();
  }
  const Names listed = main.site_list.items();
  main.next_button.Click();
  ASSERT_EQ(OpenWindowNames(), Names{L"frmInfo"});

  // Other zones: every key and value as before. Trusted sites: exactly the list, the new
  // address under the first range key that was free.
  EXPECT_EQ(ZoneMapLines(*this), (std::vector<std::string>{
      "Domains", "Domains\\bad.example", "Domains\\bad.example\\www", "Domains\\bad.example\\www https=4",
      "Domains\\blocked.example", "Domains\\blocked.example http=4", "Domains\\corp.example",
      "Domains\\corp.example\\www", "Domains\\corp.example\\www http=1", "Domains\\example.com",
      "Domains\\example.com\\www", "Domains\\example.com\\www http=2", "Domains\\intranet",
      "Domains\\intranet *=1", "Domains\\mixed.example", "Domains\\mixed.example https=4",
      "Domains\\mixed.example http=2", "Domains\\new.example", "Domains\\new.example https=2", "EscDomains",
      "EscDomains\\esc.example", "EscDomains\\esc.example http=2", "Ranges", "Ranges\\Range1",
      "Ranges\\Range1 http=1", "Ranges\\Range1 :Range=10.0.0.1", "Ranges\\Range2", "Ranges\\Range2 http=2",
      "Ranges\\Range2 :Range=10.0.0.2", "Ranges\\Range3", "Ranges\\Range3 http=4",
      "Ranges\\Range3 :Range=10.0.0.4", "Ranges\\Range4", "Ranges\\Range4 http=2",
      "Ranges\\Range4 :Range=10.0.0.9"}));
  // Read back as the window reads it, the zone map holds the list.
  windows.Show(std::make_unique<TrustedSitesWindow>(context));
  Names relisted = windows.Find<TrustedSitesWindow>()->site_list.items();
  Names expected = listed;
  std::sort(relisted.begin(), relisted.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(relisted, expected);
}

TEST_F(ProgramPathTest, AnsweringNoKeepsTheTrustedSiteWindowAndTheZoneMap) {
  PutCompanionFiles();
  SetDword(reg::kCurrentUser, kZoneMap + L"Domains\\old.example.com", L"http", 2);
  StartUp();
  windows.Find<SystemCheckWindow>()->next_button.Click();
  desktop.QueueAnswer(box::kAnswerNo);
  windows.Find<TrustedSitesWindow>()->next_button.Click();
  EXPECT_EQ(OpenWindowNames(), Names{L"Main"});
  EXPECT_TRUE(windows.Find<TrustedSitesWindow>()->next_button.enabled());
  EXPECT_TRUE(KeyExists(reg::kCurrentUser, kZoneMap + L"Domains\\old.example.com"));
}

TEST_F(ProgramPathTest, AutomaticRunAddsTheSetUpSiteUnderBothKeysAndReports) {
  PutCompanionFiles("Run=AUTO\r\nURL=http://10.0.0.5/app\r\n");
  SetDword(reg::kCurrentUser, kZoneMap + L"Domains\\old.example.com", L"http", 2);
  StartUp();
  ASSERT_EQ(OpenWindowNames(), Names{L"frmInfo"});
  EXPECT_TRUE(desktop.messages().empty());
  EXPECT_TRUE(KeyExists(reg::kCurrentUser, kZoneMap + L"Domains\\old.example.com"));  // added to, not rebuilt
  EXPECT_EQ(Dword(reg::kCurrentUser, kZoneMap + L"Ranges\\Range1", L"http"), L"2");
  EXPECT_EQ(Dword(reg::kCurrentUser, kZoneMap + L"EscRanges\\Range1", L":Range"), L"10.0.0.5");
  // No Flash Player: the installer ran and was waited for.
  bool installer_started = false;
  for (const ProcCall& call : processes.journal())
    installer_started |= call.command_line == L"\"" + testing::kProgramFolder + L"\\install_flash_player_10_active_x.exe\"";
  EXPECT_TRUE(installer_started);
}

}  // namespace
}  // namespace kelpo
