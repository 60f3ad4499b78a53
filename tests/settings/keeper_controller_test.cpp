#include "settings/keeper_controller.h"

#include <gtest/gtest.h>

#include <set>

#include "selection/data_test_platform.h"
#include "settings/scratch_registry.h"

using namespace cindral;
using namespace cindral::settings;
using Lines = std::vector<std::string>;

namespace {

constexpr KeeperSide L = KeeperSide::Left, R = KeeperSide::Right;
constexpr KeeperPage kPage = KeeperPage::Addresses;
using Moves = std::pair<bool, bool>;  // Add, Remove enabled

// Like a real list, a change of rows reports the change of selection it makes.
class FakeKeeperView : public KeeperView {
public:
    struct List {
        Lines rows;
        std::set<int> selected;
    };
    KeeperController* controller = nullptr;
    List lists[kKeeperPageCount][2];
    Moves moves[kKeeperPageCount];
    std::string notice[kKeeperPageCount];

    List& at(KeeperPage p, KeeperSide s) { return lists[int(p)][int(s)]; }
    void select(KeeperPage p, KeeperSide s, std::set<int> rows) {
        at(p, s).selected = std::move(rows);
        controller->selectionChanged(p, s);
    }
    void setRows(KeeperPage p, KeeperSide s, const Lines& rows) override {
        at(p, s).rows = rows;
        select(p, s, {});
    }
    void appendRow(KeeperPage p, KeeperSide s, const std::string& row) override {
        at(p, s).rows.push_back(row);
    }
    void deleteRow(KeeperPage p, KeeperSide s, int row) override {
        at(p, s).rows.erase(at(p, s).rows.begin() + row);
        std::set<int> still;
        for (int r : at(p, s).selected)
            if (r != row) still.insert(r > row ? r - 1 : r);
        select(p, s, still);
    }
    std::vector<int> selectedRows(KeeperPage p, KeeperSide s) override {
        return {at(p, s).selected.begin(), at(p, s).selected.end()};
    }
    int selectedCount(KeeperPage p, KeeperSide s) override { return int(at(p, s).selected.size()); }
    void enableMoves(KeeperPage p, bool add, bool remove) override {
        moves[int(p)] = {add, remove};
    }
    void setNotice(KeeperPage p, const std::string& text) override { notice[int(p)] = text; }
};

// Five typed addresses a..e; the kept lists in the home's "Data" folder.
class KeeperControllerTest : public ::testing::Test {
protected:
    KeeperControllerTest() {
        env.platform.registry = &reg;
        env.sandbox.makeFolder(env.home() + "Data");
        view.controller = &keeper;
        platform::KeyHolder key(
            reg, platform::openOrCreateKey(reg, platform::RootKey::CurrentUser, kTypedUrlsKey));
        for (char c = 'a'; c <= 'e'; ++c) {
            platform::writeText(reg, key.get(), std::string("url") + c, url(c));
        }
    }
    static std::string url(char c) { return std::string("http://") + c + ".example/"; }
    Lines& rows(KeeperSide s) { return view.at(kPage, s).rows; }

    test::DataTestPlatform env;
    test::ScratchRegistry reg;
    const std::string file = env.home() + "Data\\AddressesKept.dat";
    FakeKeeperView view;
    KeeperController keeper{
        view,
        env.platform,
        {env.home() + "Data\\CookieKept.dat", file, env.home() + "Data\\OpenSaveKept.dat"}};
};

TEST_F(KeeperControllerTest, MovesKeepTheRowOrderAndAreSavedAtOnce) {
    keeper.open();
    ASSERT_EQ(rows(L), (Lines{url('a'), url('b'), url('c'), url('d'), url('e')}));
    view.select(kPage, L, {3, 1});
    keeper.add(kPage);
    EXPECT_EQ(keeper.kept(kPage), (Lines{url('b'), url('d')}));
    EXPECT_EQ(rows(R), keeper.kept(kPage));
    EXPECT_EQ(env.read(file), url('b') + "\r\n" + url('d') + "\r\n");
    EXPECT_EQ(rows(L), (Lines{url('a'), url('c'), url('e')}));
    EXPECT_EQ(rows(L), keeper.candidates(kPage));

    keeper.refresh(kPage);  // the kept addresses stay out of the candidates
    EXPECT_EQ(rows(L), (Lines{url('a'), url('c'), url('e')}));

    view.select(kPage, R, {0, 1});
    keeper.remove(kPage);
    EXPECT_EQ(env.read(file), "");
    EXPECT_TRUE(rows(R).empty());
    EXPECT_EQ(rows(L), (Lines{url('a'), url('c'), url('e'), url('b'), url('d')}));
}

TEST_F(KeeperControllerTest, TheListLastSelectedInDecidesWhichMoveButtonIsEnabled) {
    keeper.open();
    for (const Moves& m : view.moves) EXPECT_EQ(m, Moves(false, false));
    view.select(kPage, L, {0, 2});
    keeper.add(kPage);
    EXPECT_EQ(view.moves[1], Moves(false, false));  // nothing is left selected

    struct Step {
        KeeperSide side;
        std::set<int> rows;
        Moves expected;
    } const steps[] = {
        {L, {1}, {true, false}},
        {R, {0}, {false, true}},  // although row 1 on the left stays selected
        {L, {1}, {true, false}},  // a click on the same selection
        {R, {1}, {false, true}},
    };
    for (const Step& s : steps) {
        view.select(kPage, s.side, s.rows);
        EXPECT_EQ(view.moves[1], s.expected) << "side " << int(s.side);
    }
    keeper.refresh(kPage);  // rebuilding the left list leaves the right list's say
    EXPECT_EQ(view.moves[1], Moves(false, true));
    keeper.pageEntered(kPage);  // entering a page asks its left list
    EXPECT_EQ(view.moves[1], Moves(false, false));
}

TEST_F(KeeperControllerTest, AListThatCannotBeReadOrSavedIsNeverShownAsKept) {
    ASSERT_TRUE(env.sandbox.writeFile(file, url('a') + "\r\n"));
    keeper.open();
    const Lines left = rows(L);
    for (bool unreadable : {true, false}) {
        env.files.unreadable = unreadable ? Lines{file} : Lines{};
        env.files.failWrites = !unreadable;
        view.select(kPage, L, {1});
        keeper.add(kPage);
        EXPECT_EQ(rows(L), left) << unreadable;
        EXPECT_EQ(rows(R), (Lines{url('a')})) << unreadable;
        EXPECT_EQ(keeper.kept(kPage), rows(R)) << unreadable;
        EXPECT_EQ(view.notice[1], KeeperController::unsavedNotice(file)) << unreadable;
        EXPECT_EQ(env.read(file), url('a') + "\r\n") << unreadable;
    }
    env.files.unreadable = {file};
    keeper.open();  // unreadable from the start: all are candidates, nothing moves
    EXPECT_EQ(rows(L).size(), 5u);
    EXPECT_EQ(view.notice[1], KeeperController::unreadableNotice(file));
    view.select(kPage, L, {0});
    EXPECT_EQ(view.moves[1], Moves(false, false));
}

}  // namespace
