// The trusted-site window: its list filled from the zone map, and the user's edits of it.
#include <gtest/gtest.h>

#include <functional>

#include "app/frm_auto_set.h"
#include "app/main_form.h"
#include "registry/module1.h"
#include "app_fixture.h"

namespace kelpo {
namespace {

using Items = std::vector<std::wstring>;

const std::wstring kDomains = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains";
const std::wstring kRanges = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Ranges";
const std::wstring kEscRanges = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\EscRanges";

class MainWindowTest : public testing::AppTest {
 protected:
  void Range(const std::wstring& root, const std::wstring& name, const std::wstring& scheme, const std::wstring& address) {
    SetDword(reg::kCurrentUser, root + L"\\" + name, scheme, 2);
    SetSz(reg::kCurrentUser, root + L"\\" + name, L":Range", address);
  }
  Main& Load() { return Open<Main>(); }
  void Type(Main& main, const std::wstring& text) {
    main.txtWebSite.SetText(text);
    main.btnAdd.Click();
  }
  std::vector<std::wstring> Messages() const {
    std::vector<std::wstring> texts;
    for (const ShownMessage& message : desktop.messages()) texts.push_back(message.text + L"|" + message.title);
    return texts;
  }
};

TEST_F(MainWindowTest, LoadFillsVersionsAndTheListDomainsFirstThenRanges) {
  SetSz(reg::kLocalMachine, L"SOFTWARE\\Microsoft\\Internet Explorer", L"Version", L"8.0.6001.18702");
  SetSz(reg::kLocalMachine, L"SOFTWARE\\Macromedia\\FlashPlayer", L"CurrentVersion", L"10,0,45,2");
  Range(kRanges, L"Range1", L"http", L"192.168.1.20");
  SetDword(reg::kCurrentUser, kDomains + L"\\zeta.example.com", L"https", 2);
  SetDword(reg::kCurrentUser, kDomains + L"\\example.com\\www", L"http", 2);
  SetDword(reg::kCurrentUser, kDomains + L"\\intranet", L"*", 2);
  Range(kRanges, L"Range2", L"*", L"10.0.0.5");
  Main& main = Load();
  EXPECT_EQ(main.lblIEVersion.caption(), L"8.0.6001.18702");
  EXPECT_EQ(main.lblTemp.caption(), L"10.0.45.2");
  EXPECT_EQ(main.lstWebSite.items(), (Items{L"http://www.example.com", L"intranet", L"https://zeta.example.com",
                                            L"http://192.168.1.20", L"*://10.0.0.5"}));
  EXPECT_FALSE(main.btnDel.enabled());
  EXPECT_EQ(registry.open_handle_count(), 0u);
}

TEST_F(MainWindowTest, LoadWithoutFlashOrZoneMapLeavesThemEmpty) {
  Main& main = Load();
  EXPECT_EQ(main.lblTemp.caption(), L"");
  EXPECT_EQ(main.lblIEVersion.caption(), L"");
  EXPECT_TRUE(main.lstWebSite.items().empty());
}

struct Typed {
  std::wstring text;
  std::wstring item;
};

void PrintTo(const Typed& typed, std::ostream* out) { *out << ::testing::PrintToString(typed.text); }

class AddressTyped : public MainWindowTest, public ::testing::WithParamInterface<Typed> {};

TEST_P(AddressTyped, BecomesTheItemAndEmptiesTheTextBox) {
  Main& main = Load();
  Type(main, GetParam().text);
  EXPECT_EQ(main.lstWebSite.items(), (Items{GetParam().item}));
  EXPECT_EQ(main.txtWebSite.text(), L"");
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

TEST_F(MainWindowTest, BlankTextDoesNothingAtAll) {
  Main& main = Load();
  Type(main, L"    ");
  EXPECT_TRUE(main.lstWebSite.items().empty());
  EXPECT_EQ(main.txtWebSite.text(), L"    ");
  EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(MainWindowTest, TextThatIsAllPathAddsNothingAtAll) {
  Main& main = Load();
  Type(main, L"a.example");
  // Cut before its first "/", nothing is left: no empty item, which the apply would write as a
  // "**" Baidu entry and a "*" value on the Domains key itself.
  for (const wchar_t* text : {L"/abc", L"/", L"  /intranet/home  "}) {
    Type(main, text);
    EXPECT_EQ(main.lstWebSite.items(), (Items{L"a.example"}));
    EXPECT_EQ(main.txtWebSite.text(), text);
  }
  EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(MainWindowTest, ExactDuplicateIsRefusedWithTheMessageAndTheTextKept) {
  Main& main = Load();
  Type(main, L"http://example.com");
  Type(main, L"example.com");
  Type(main, L"http://Example.com");
  Type(main, L"http://example.com/other");
  EXPECT_EQ(main.lstWebSite.items(), (Items{L"http://example.com", L"example.com", L"http://Example.com"}));
  EXPECT_EQ(main.txtWebSite.text(), L"http://example.com/other");
  EXPECT_EQ(Messages(), (std::vector<std::wstring>{L"该站点已在 可信站点 区域中。|可信站点"}));
  EXPECT_EQ(desktop.messages()[0].flags, 0x40u);
}

TEST_F(MainWindowTest, DuplicateOfAZoneMapItemIsRefused) {
  SetDword(reg::kCurrentUser, kDomains + L"\\intranet", L"*", 2);
  Main& main = Load();
  Type(main, L"intranet/home");
  EXPECT_EQ(main.lstWebSite.items(), (Items{L"intranet"}));
  EXPECT_EQ(desktop.messages().size(), 1u);
}

TEST_F(MainWindowTest, DeleteNeedsASelectionAndRemovesOnlyIt) {
  Main& main = Load();
  main.btnDel.SetEnabled(true);
  main.btnDel.Click();  // empty list: nothing at all
  EXPECT_TRUE(desktop.messages().empty());
  for (const wchar_t* site : {L"a.example", L"b.example", L"c.example"}) Type(main, site);
  main.btnDel.Click();
  EXPECT_EQ(Messages(), (std::vector<std::wstring>{L"请先选择需要删除的网站！|可信站点"}));
  EXPECT_EQ(desktop.messages()[0].flags, 0x40u);
  main.lstWebSite.Click(1);
  main.btnDel.Click();
  EXPECT_EQ(main.lstWebSite.items(), (Items{L"a.example", L"c.example"}));
  EXPECT_TRUE(main.btnDel.enabled());
}

TEST_F(MainWindowTest, ListClickEnablesDeleteOnlyWhenThereAreSites) {
  Main& main = Load();
  main.lstWebSite.Click();
  EXPECT_FALSE(main.btnDel.enabled());
  Type(main, L"a.example");
  main.lstWebSite.Click(0);
  EXPECT_TRUE(main.btnDel.enabled());
  main.lstWebSite.Click();
  EXPECT_TRUE(main.btnDel.enabled());  // never disabled again
}

// --- What the user does while the apply waits for the registry editor. ---

class ApplyMeanwhileTest : public MainWindowTest {
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
  void ApplyWhile(const std::function<void(Main&)>& meanwhile) {
    Main& main = Load();
    Type(main, L"b.example");
    processes.set_on_wait([&](std::uint32_t) { meanwhile(main); });
    main.btnOk.Click();
    EXPECT_TRUE(KeyExists(reg::kCurrentUser, kDomains + L"\\a.example"));
    EXPECT_TRUE(KeyExists(reg::kCurrentUser, kDomains + L"\\b.example"));
    EXPECT_FALSE(KeyExists(reg::kCurrentUser, kDomains + L"\\c.example"));
    const std::wstring zone = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\2";
    EXPECT_EQ(Module1(platform).ReadRegValue(reg::kCurrentUser, zone, L"Flags"), L"67");  // written after the wait
    EXPECT_EQ(Module1(platform).ReadRegValue(reg::kCurrentUser, L"Software\\Google\\Google Toolbar\\4.0\\Options",
                                             L"PopupBlockerWhitelist"),
              L"|a.example|b.example|");
  }
  // Every window that was shown, in order.
  const std::vector<std::wstring>& Shown() const { return shown_.names; }

 private:
  ShownWindows shown_;
};

TEST_F(ApplyMeanwhileTest, EditsMeanwhileChangeNothingThatIsApplied) {
  ApplyWhile([](Main& main) {
    main.lstWebSite.Click(0);
    main.btnDel.Click();
    main.lstWebSite.Click(0);
    main.btnDel.Click();
    main.txtWebSite.SetText(L"c.example");
    main.btnAdd.Click();
  });
  EXPECT_EQ(Shown(), (Items{L"Main", L"frmInfo"}));
  EXPECT_EQ(OpenWindowNames(), Items{L"frmInfo"});
}

TEST_F(ApplyMeanwhileTest, CloseMeanwhileEndsTheProgramOnlyOnceTheApplyIsDoneAndWithoutTheReport) {
  bool ended_during_the_wait = true;
  ApplyWhile([&](Main& main) {
    main.lstWebSite.Click(0);
    main.btnDel.Click();
    main.btnClose.Click();
    ended_during_the_wait = desktop.ended() || windows.program_ended();
  });
  EXPECT_FALSE(ended_during_the_wait);
  EXPECT_TRUE(desktop.ended());
  EXPECT_TRUE(windows.open_windows().empty());
  EXPECT_EQ(Shown(), Items{L"Main"});
}

TEST_F(ApplyMeanwhileTest, TitleBarCloseMeanwhileUnloadsTheWindowOnceTheApplyIsDoneAndOpensNoReport) {
  bool ended_during_the_wait = true;
  ApplyWhile([&](Main& main) {
    windows.Unload(main);  // what the window host does for the title bar's close
    ended_during_the_wait = windows.program_ended();
  });
  EXPECT_FALSE(ended_during_the_wait);
  EXPECT_TRUE(windows.program_ended());
  EXPECT_EQ(Shown(), Items{L"Main"});
}

class RangeSearchTest : public MainWindowTest {
 protected:
  frmAutoSet& StartUpWindow() {
    start_up_ = std::make_unique<frmAutoSet>(context);
    return *start_up_;
  }
  std::unique_ptr<frmAutoSet> start_up_;
};

TEST_F(RangeSearchTest, CountsKeysUpToTheMatchAndEachSearchKeepsItsOwnCounter) {
  Range(kRanges, L"Range1", L"http", L"10.0.0.1");
  Range(kRanges, L"Range2", L"http", L"10.0.0.5");
  Range(kRanges, L"Range3", L"http", L"10.0.0.9");
  Range(kEscRanges, L"Range1", L"http", L"10.0.0.9");
  frmAutoSet& start_up = StartUpWindow();
  start_up.SetupUrl = L"http://10.0.0.5";
  EXPECT_TRUE(start_up.FindRangesKeys(reg::kCurrentUser, kRanges));
  EXPECT_EQ(start_up.RangeCount, 2);
  EXPECT_FALSE(start_up.FindEscRangesKeys(reg::kCurrentUser, kEscRanges));
  EXPECT_EQ(start_up.EscRangeCount, 1);
  start_up.SetupUrl = L"10.0.0.5";  // without a scheme it is never found
  EXPECT_FALSE(start_up.FindRangesKeys(reg::kCurrentUser, kRanges));
  EXPECT_EQ(start_up.RangeCount, 5);
}

}  // namespace
}  // namespace kelpo
