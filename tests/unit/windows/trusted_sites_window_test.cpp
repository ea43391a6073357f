// The trusted-sites window: its list filled from the zone map, the user's edits of it, and what
// the user does while the apply waits.
#include <gtest/gtest.h>

#include <functional>

#include "registry/registry_reader.h"
#include "unit/program_fixture.h"
#include "windows/trusted_sites_window.h"

namespace kelpo {
namespace {

using Items = std::vector<std::wstring>;

const std::wstring kDomains = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains";
const std::wstring kRanges = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Ranges";
const std::wstring kEscRanges = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\EscRanges";

class TrustedSitesWindowTest : public testing::ProgramTest {
 protected:
  void Range(const std::wstring& root, const std::wstring& name, const std::wstring& scheme, const std::wstring& address) {
    SetDword(reg::kCurrentUser, root + L"\\" + name, scheme, 2);
    SetSz(reg::kCurrentUser, root + L"\\" + name, L":Range", address);
  }
  TrustedSitesWindow& Load() { return Open<TrustedSitesWindow>(); }
  void Type(TrustedSitesWindow& main, const std::wstring& text) {
    main.address_box.SetText(text);
    main.add_button.Click();
  }
  std::vector<std::wstring> Messages() const {
    std::vector<std::wstring> texts;
    for (const ShownMessage& message : desktop.messages()) texts.push_back(message.text + L"|" + message.title);
    return texts;
  }
};

TEST_F(TrustedSitesWindowTest, LoadFillsVersionsAndTheListDomainsFirstThenRanges) {
  SetSz(reg::kLocalMachine, L"SOFTWARE\\Microsoft\\Internet Explorer", L"Version", L"8.0.6001.18702");
  SetSz(reg::kLocalMachine, L"SOFTWARE\\Macromedia\\FlashPlayer", L"CurrentVersion", L"10,0,45,2");
  Range(kRanges, L"Range1", L"http", L"192.168.1.20");
  SetDword(reg::kCurrentUser, kDomains + L"\\zeta.example.com", L"https", 2);
  SetDword(reg::kCurrentUser, kDomains + L"\\example.com\\www", L"http", 2);
  SetDword(reg::kCurrentUser, kDomains + L"\\intranet", L"*", 2);
  Range(kRanges, L"Range2", L"*", L"10.0.0.5");
  TrustedSitesWindow& main = Load();
  EXPECT_EQ(main.ie_version_label.caption(), L"8.0.6001.18702");
  EXPECT_EQ(main.flash_version_label.caption(), L"10.0.45.2");
  EXPECT_EQ(main.site_list.items(), (Items{L"http://www.example.com", L"intranet", L"https://zeta.example.com",
                                            L"http://192.168.1.20", L"*://10.0.0.5"}));
  EXPECT_FALSE(main.delete_button.enabled());
  EXPECT_EQ(registry.open_handle_count(), 0u);
}

TEST_F(TrustedSitesWindowTest, LoadWithoutFlashOrZoneMapLeavesThemEmpty) {
  TrustedSitesWindow& main = Load();
  EXPECT_EQ(main.flash_version_label.caption(), L"");
  EXPECT_EQ(main.ie_version_label.caption(), L"");
  EXPECT_TRUE(main.site_list.items().empty());
}

struct Typed {
  std::wstring text;
  std::wstring item;
};

void PrintTo(const Typed& typed, std::ostream* out) { *out << ::testing::PrintToString(typed.text); }

class AddressTyped : public TrustedSitesWindowTest, public ::testing::WithParamInterface<Typed> {};

TEST_P(AddressTyped, BecomesTheItemAndEmptiesTheTextBox) {
  TrustedSitesWindow& main = Load();
  Type(main, GetParam().text);
  EXPECT_EQ(main.site_list.items(), (Items{GetParam().item}));
  EXPECT_EQ(main.address_box.text(), L"");
  EXPECT_TRUE(desktop.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Examples, AddressTyped,
    ::testing::Values(Typed{L"http://www.example.com/index.htm", L"http://www.example.com"},
                      Typed{L"http://www.example.com:81/app", L"http://www.example.com"},
                      Typed{L"www.example.com", L"www.example.com"}, Typed{L"example.com/app/", L"example.com"},
                      Typed{L"example.com:81", L"example.com:81"}, Typed{L"192.168.1.20", L"192.168.1.20"},
                      Typed{L"http://", L"http://"}, Typed{L"  http://  mail.example.com  ", L"http://mail.example.com"},
                      Typed{L"https://secure.example.com/x", L"https://secure.example.com"},
                      Typed{L"HTTP://Upper.example.com", L"http://Upper.example.com"},
                      Typed{L"ftp://files.example.com:21", L"http://files.example.com"},
                      Typed{L"http://站点.中国/路径", L"http://站点.中国"}));

TEST_F(TrustedSitesWindowTest, BlankTextDoesNothingAtAll) {
  TrustedSitesWindow& main = Load();
  Type(main, L"    ");
  EXPECT_TRUE(main.site_list.items().empty());
  EXPECT_EQ(main.address_box.text(), L"    ");
  EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(TrustedSitesWindowTest, TextThatIsAllPathAddsNothingAtAll) {
  TrustedSitesWindow& main = Load();
  Type(main, L"a.example");
  // Cut before its first "/", nothing is left: no empty item, which the apply would write as a
  // "**" Baidu entry and a "*" value on the Domains key itself.
  for (const wchar_t* text : {L"/abc", L"/", L"  /intranet/home  "}) {
    Type(main, text);
    EXPECT_EQ(main.site_list.items(), (Items{L"a.example"}));
    EXPECT_EQ(main.address_box.text(), text);
  }
  EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(TrustedSitesWindowTest, ExactDuplicateIsRefusedWithTheMessageAndTheTextKept) {
  TrustedSitesWindow& main = Load();
  Type(main, L"http://example.com");
  Type(main, L"example.com");
  Type(main, L"http://Example.com");
  Type(main, L"http://example.com/other");
  EXPECT_EQ(main.site_list.items(), (Items{L"http://example.com", L"example.com", L"http://Example.com"}));
  EXPECT_EQ(main.address_box.text(), L"http://example.com/other");
  EXPECT_EQ(Messages(), (std::vector<std::wstring>{L"该站点已在 可信站点 区域中。|可信站点"}));
  EXPECT_EQ(desktop.messages()[0].flags, 0x40u);
}

TEST_F(TrustedSitesWindowTest, DuplicateOfAZoneMapItemIsRefused) {
  SetDword(reg::kCurrentUser, kDomains + L"\\intranet", L"*", 2);
  TrustedSitesWindow& main = Load();
  Type(main, L"intranet/home");
  EXPECT_EQ(main.site_list.items(), (Items{L"intranet"}));
  EXPECT_EQ(desktop.messages().size(), 1u);
}

TEST_F(TrustedSitesWindowTest, DeleteNeedsASelectionAndRemovesOnlyIt) {
  TrustedSitesWindow& main = Load();
  main.delete_button.SetEnabled(true);
  main.delete_button.Click();  // empty list: nothing at all
  EXPECT_TRUE(desktop.messages().empty());
  for (const wchar_t* site : {L"a.example", L"b.example", L"c.example"}) Type(main, site);
  main.delete_button.Click();
  EXPECT_EQ(Messages(), (std::vector<std::wstring>{L"请先选择需要删除的网站！|可信站点"}));
  EXPECT_EQ(desktop.messages()[0].flags, 0x40u);
  main.site_list.Click(1);
  main.delete_button.Click();
  EXPECT_EQ(main.site_list.items(), (Items{L"a.example", L"c.example"}));
  EXPECT_TRUE(main.delete_button.enabled());
}

TEST_F(TrustedSitesWindowTest, ListClickEnablesDeleteOnlyWhenThereAreSites) {
  TrustedSitesWindow& main = Load();
  main.site_list.Click();
  EXPECT_FALSE(main.delete_button.enabled());
  Type(main, L"a.example");
  main.site_list.Click(0);
  EXPECT_TRUE(main.delete_button.enabled());
  main.site_list.Click();
  EXPECT_TRUE(main.delete_button.enabled());  // never disabled again
}

// --- What the user does while the apply waits for the registry editor. ---

class ApplyMeanwhileTest : public TrustedSitesWindowTest {
 protected:
  struct ShownWindows final : WindowHost {
    std::vector<std::wstring> names;
    void Shown(Window& window) override { names.push_back(window.name()); }
    void Unloaded(Window&) override {}
  };

  ApplyMeanwhileTest() {
    PutCompanionFiles();
    SetSz(reg::kLocalMachine, L"SOFTWARE\\Macromedia\\FlashPlayer", L"CurrentVersion", L"10,0,45,2");
    shell.set_on_run([this](const std::wstring&) { processes.AddChild("regedit.exe"); });
    windows.set_host(&shown_);
    SetDword(reg::kCurrentUser, kDomains + L"\\a.example", L"http", 2);
  }
  // Runs `meanwhile` inside the wait for the import, then expects the apply to have run to its
  // end for the list as it was when Next was pressed.
  void ApplyWhile(const std::function<void(TrustedSitesWindow&)>& meanwhile) {
    TrustedSitesWindow& main = Load();
    Type(main, L"b.example");
    processes.set_on_wait([&](std::uint32_t) { meanwhile(main); });
    main.next_button.Click();
    EXPECT_TRUE(KeyExists(reg::kCurrentUser, kDomains + L"\\a.example"));
    EXPECT_TRUE(KeyExists(reg::kCurrentUser, kDomains + L"\\b.example"));
    EXPECT_FALSE(KeyExists(reg::kCurrentUser, kDomains + L"\\c.example"));
    const std::wstring zone = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\2";
    EXPECT_EQ(RegistryReader(platform).ReadText(reg::kCurrentUser, zone, L"Flags"), L"67");  // written after the wait
    EXPECT_EQ(RegistryReader(platform).ReadText(reg::kCurrentUser, L"Software\\Google\\Google Toolbar\\4.0\\Options",
                                             L"PopupBlockerWhitelist"),
              L"|a.example|b.example|");
  }
  // Every window that was shown, in order.
  const std::vector<std::wstring>& Shown() const { return shown_.names; }

 private:
  ShownWindows shown_;
};

TEST_F(ApplyMeanwhileTest, EditsMeanwhileChangeNothingThatIsApplied) {
  ApplyWhile([](TrustedSitesWindow& main) {
    main.site_list.Click(0);
    main.delete_button.Click();
    main.site_list.Click(0);
    main.delete_button.Click();
    main.address_box.SetText(L"c.example");
    main.add_button.Click();
  });
  EXPECT_EQ(Shown(), (Items{L"Main", L"frmInfo"}));
  EXPECT_EQ(OpenWindowNames(), Items{L"frmInfo"});
}

TEST_F(ApplyMeanwhileTest, CloseMeanwhileEndsTheProgramOnlyOnceTheApplyIsDoneAndWithoutTheReport) {
  bool ended_during_the_wait = true;
  ApplyWhile([&](TrustedSitesWindow& main) {
    main.site_list.Click(0);
    main.delete_button.Click();
    main.close_button.Click();
    ended_during_the_wait = desktop.ended() || windows.program_ended();
  });
  EXPECT_FALSE(ended_during_the_wait);
  EXPECT_TRUE(desktop.ended());
  EXPECT_TRUE(windows.open_windows().empty());
  EXPECT_EQ(Shown(), Items{L"Main"});
}

TEST_F(ApplyMeanwhileTest, TitleBarCloseMeanwhileUnloadsTheWindowOnceTheApplyIsDoneAndOpensNoReport) {
  bool ended_during_the_wait = true;
  ApplyWhile([&](TrustedSitesWindow& main) {
    windows.Unload(main);  // what the window host does for the title bar's close
    ended_during_the_wait = windows.program_ended();
  });
  EXPECT_FALSE(ended_during_the_wait);
  EXPECT_TRUE(windows.program_ended());
  EXPECT_EQ(Shown(), Items{L"Main"});
}

}  // namespace
}  // namespace kelpo
