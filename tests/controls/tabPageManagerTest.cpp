// The tab page manager on a real tab control, with test pages made from the DLL's templates.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../controls/tabPageManager.h"
#include "../plugin/pluginFixture.h"
#include "../../res/resource.h"

namespace {

// What the test pages saw, and what they answer.
struct PageLog {
  int creations = 0;
  int destructions = 0;
  std::vector<LPARAM> creationParams;
  std::vector<int> notifications;
  LRESULT answerDeactivate = 0;
  LRESULT answerActivate = 0;
  LRESULT answerRemove = 0;
};
PageLog gPages[3];

template <int N>
INT_PTR CALLBACK testPageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
  PageLog& log = gPages[N];
  switch (message) {
    case WM_INITDIALOG:
      ++log.creations;
      log.creationParams.push_back(lParam);
      return TRUE;
    case WM_DESTROY:
      ++log.destructions;
      return FALSE;
    case WM_NOTIFY: {
      int code = (int)((NMHDR*)lParam)->code;
      log.notifications.push_back(code);
      LRESULT answer = code == PAGE_DEACTIVATED ? log.answerDeactivate
                       : code == PAGE_ACTIVATED ? log.answerActivate
                                                : log.answerRemove;
      SetWindowLongPtrA(page, DWLP_MSGRESULT, answer);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

class TabPagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    module_ = LoadLibraryA((programFolder() + "\\gen_lumo.dll").c_str());
    ASSERT_NE(module_, nullptr);
    for (PageLog& p : gPages) p = PageLog();
    host_ = CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_VISIBLE, 0, 0, 500, 450, nullptr,
                            nullptr, nullptr, nullptr);
    tab_ = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE, 10, 10, 460, 400, host_,
                           (HMENU)1023, nullptr, nullptr);
    tabs_ = new TabPageManager(tab_, module_);
  }
  void TearDown() override {
    delete tabs_;
    DestroyWindow(host_);
    FreeLibrary(module_);
  }

  void addThree() {
    ASSERT_EQ(tabs_->addPage("One", MAKEINTRESOURCEA(IDD_GENERAL), testPageProc<0>, nullptr), 0);
    ASSERT_EQ(tabs_->addPage("Two", MAKEINTRESOURCEA(IDD_GENERAL), testPageProc<1>, nullptr), 1);
    ASSERT_EQ(tabs_->addPage("Three", MAKEINTRESOURCEA(IDD_GENERAL), testPageProc<2>, nullptr), 2);
  }

  // A click on a tab: the two notifications the tab control sends around its own change.
  bool click(int index) {
    NMHDR changing = {tab_, 1023, (UINT)TCN_SELCHANGING};
    if (tabs_->onNotify(1023, &changing)) return false;
    SendMessageA(tab_, TCM_SETCURSEL, (WPARAM)index, 0);
    NMHDR change = {tab_, 1023, (UINT)TCN_SELCHANGE};
    tabs_->onNotify(1023, &change);
    return true;
  }

  PageRecord record(int index) {
    struct {
      TCITEMHEADERA header;
      PageRecord record;
    } item = {};
    item.header.mask = TCIF_PARAM;
    SendMessageA(tab_, TCM_GETITEMA, (WPARAM)index, (LPARAM)&item);
    return item.record;
  }

  std::string tabText(int index) {
    char text[64] = "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(tab_, TCM_GETITEMA, (WPARAM)index, (LPARAM)&item);
    return text;
  }

  HMODULE module_ = nullptr;
  HWND host_ = nullptr;
  HWND tab_ = nullptr;
  TabPageManager* tabs_ = nullptr;
};

}  // namespace

TEST_F(TabPagesTest, TitleFromCaptionIsReadFromTheTemplate) {
  EXPECT_EQ(tabs_->addPage(nullptr, MAKEINTRESOURCEA(IDD_GENERAL), testPageProc<0>, nullptr), 0);
  EXPECT_EQ(tabText(0), "General");
  EXPECT_EQ(gPages[0].creations, 0) << "the caption is read without creating the page";
  EXPECT_EQ(record(0).pageWindow, nullptr);
  EXPECT_EQ(tabs_->addPage(nullptr, MAKEINTRESOURCEA(IDD_TITLEFORMAT), testPageProc<2>, nullptr), 1);
  EXPECT_EQ(tabText(1), "Title format");
  EXPECT_EQ(tabs_->addPage(nullptr, MAKEINTRESOURCEA(9999), testPageProc<2>, nullptr), 2)
      << "a template that does not exist gives an empty title";
  EXPECT_EQ(tabText(2), "");
  tabs_->deletePage(2);
  tabs_->deletePage(1);

  EXPECT_EQ(tabs_->addPage("Given", MAKEINTRESOURCEA(IDD_ABOUT), testPageProc<1>, nullptr), 1);
  EXPECT_EQ(gPages[1].creations, 0) << "a given title never instantiates the template";
  EXPECT_EQ(tabText(1), "Given");
  EXPECT_EQ(tabs_->addPage("None", nullptr, testPageProc<2>, nullptr), 0);
  EXPECT_EQ(SendMessageA(tab_, TCM_GETITEMCOUNT, 0, 0), 2);
}

TEST_F(TabPagesTest, PageCreatedOnceShownAgainAndPlaced) {
  addThree();
  ASSERT_TRUE(tabs_->selectPage(0));
  HWND first = tabs_->currentPage();
  ASSERT_NE(first, nullptr);
  LONG_PTR style = GetWindowLongPtrA(first, GWL_STYLE);
  EXPECT_EQ(style & WS_CHILD, WS_CHILD);
  EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME), 0)
      << "the template's popup, caption, menu and frame bits are dropped";
  EXPECT_EQ(GetWindowLongPtrA(first, GWL_EXSTYLE) & WS_EX_CONTROLPARENT, WS_EX_CONTROLPARENT);
  EXPECT_EQ(GetParent(first), host_) << "pages are siblings of the tab control";
  EXPECT_TRUE(IsWindowVisible(first));
  EXPECT_NE(gPages[0].creationParams.back(), 0) << "the working copy's address";

  RECT area;
  GetClientRect(tab_, &area);
  SendMessageA(tab_, TCM_ADJUSTRECT, FALSE, (LPARAM)&area);
  MapWindowPoints(tab_, host_, (POINT*)&area, 2);
  RECT placed;
  GetWindowRect(first, &placed);
  MapWindowPoints(nullptr, host_, (POINT*)&placed, 2);
  EXPECT_EQ(placed.left, area.left);
  EXPECT_EQ(placed.top, area.top);
  EXPECT_EQ(placed.right, area.right);
  EXPECT_EQ(placed.bottom, area.bottom);

  ASSERT_TRUE(click(1));
  EXPECT_FALSE(IsWindowVisible(first));
  ASSERT_TRUE(click(0));
  EXPECT_EQ(tabs_->currentPage(), first);
  EXPECT_EQ(gPages[0].creations, 1);
  EXPECT_EQ(gPages[0].notifications,
            std::vector<int>({PAGE_ACTIVATED, PAGE_DEACTIVATED, PAGE_ACTIVATED}));
}

TEST_F(TabPagesTest, RefusalRules) {
  addThree();
  ASSERT_TRUE(tabs_->selectPage(0));
  gPages[0].answerDeactivate = 2;
  EXPECT_FALSE(click(1)) << "any answer above 0 blocks a click";
  EXPECT_EQ(SendMessageA(tab_, TCM_GETCURSEL, 0, 0), 0);
  EXPECT_TRUE(tabs_->selectPage(1)) << "only exactly 1 refuses selectPage";
  EXPECT_EQ(SendMessageA(tab_, TCM_GETCURSEL, 0, 0), 1);

  gPages[1].answerDeactivate = 1;
  EXPECT_FALSE(tabs_->selectPage(2));
  EXPECT_FALSE(click(2));
  gPages[1].answerDeactivate = 0;

  gPages[2].answerActivate = 1;
  EXPECT_FALSE(tabs_->selectPage(2));
  EXPECT_EQ(SendMessageA(tab_, TCM_GETCURSEL, 0, 0), 1);

  gPages[1].answerRemove = 1;
  EXPECT_FALSE(tabs_->deleteAllPages());
  EXPECT_EQ(SendMessageA(tab_, TCM_GETITEMCOUNT, 0, 0), 2) << "the refusing tab and those before stay";
  gPages[1].answerRemove = 0;
  EXPECT_TRUE(tabs_->deleteAllPages());
  EXPECT_EQ(tabs_->currentPage(), nullptr);
  EXPECT_EQ(gPages[1].destructions, 1);
}

TEST_F(TabPagesTest, NegativeAndMissingIndexes) {
  addThree();
  ASSERT_TRUE(tabs_->selectPage(0));
  HWND first = tabs_->currentPage();
  EXPECT_TRUE(tabs_->showPage(-1));
  EXPECT_TRUE(IsWindowVisible(first)) << "a negative index hides nothing";

  size_t before = gPages[0].notifications.size();
  EXPECT_TRUE(tabs_->selectPage(-1));
  EXPECT_EQ(gPages[0].notifications.size(), before + 1) << "deactivation is still sent";
  EXPECT_EQ(SendMessageA(tab_, TCM_GETCURSEL, 0, 0), -1);

  EXPECT_FALSE(tabs_->showPage(3));
  EXPECT_FALSE(IsWindowVisible(first)) << "the current page is hidden, no page shown";
  EXPECT_FALSE(tabs_->selectPage(7));
}

TEST_F(TabPagesTest, AttachAndEmptyDelete) {
  EXPECT_TRUE(tabs_->deleteAllPages());
  EXPECT_EQ(tabs_->currentPage(), nullptr);
  EXPECT_EQ(tabs_->attach((HWND)0x1234), tab_);
  EXPECT_EQ(tabs_->tabControl(), tab_);
  EXPECT_FALSE(tabs_->deletePage(0));
}
