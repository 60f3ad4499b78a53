#include "settings/keeper_controller.h"

#include <gtest/gtest.h>

#include <set>

#include "settings/scratch_registry.h"
#include "support/fixtures.h"

using namespace cindral;
using namespace cindral::settings;
using Lines = std::vector<std::string>;

namespace {

constexpr KeeperSide L = KeeperSide::Left, R = KeeperSide::Right;
constexpr KeeperPage kPage = KeeperPage::Addresses;
using Moves = std::pair<bool, bool>;  // Add, Remove enabled

// Like a real list, replacing the rows reports the selection it drops; rows
// are only ever deleted while selected, so a deletion drops the selection.
class FakeKeeperView : public KeeperView {
public:
    KeeperController* controller = nullptr;
    Lines rows[kKeeperPageCount][2];
    std::set<int> selected[kKeeperPageCount][2];
    Moves moves[kKeeperPageCount];
    std::string notice[kKeeperPageCount];

    void select(KeeperPage p, KeeperSide s, std::set<int> these) {
        selected[int(p)][int(s)] = std::move(these);
        controller->selectionChanged(p, s);
    }
    void setRows(KeeperPage p, KeeperSide s, const Lines& r) override {
        rows[int(p)][int(s)] = r;
        select(p, s, {});
    }
    void appendRow(KeeperPage p, KeeperSide s, const std::string& r) override {
        rows[int(p)][int(s)].push_back(r);
    }
    void deleteRow(KeeperPage p, KeeperSide s, int r) override {
        rows[int(p)][int(s)].erase(rows[int(p)][int(s)].begin() + r);
        select(p, s, {});
    }
    std::vector<int> selectedRows(KeeperPage p, KeeperSide s) override {
        return {selected[int(p)][int(s)].begin(), selected[int(p)][int(s)].end()};
    }
    int selectedCount(KeeperPage p, KeeperSide s) override {
        return int(selected[int(p)][int(s)].size());
    }
    void enableMoves(KeeperPage p, bool add, bool remove) override {
        moves[int(p)] = {add, remove};
    }
    void setNotice(KeeperPage p, const std::string& text) override { notice[int(p)] = text; }
};

// Five typed addresses a..e; the kept lists in the home's "Data" folder.
class KeeperControllerTest : public test::HomeTest {
protected:
    KeeperControllerTest() {
        platform_.registry = &reg;
        box_.makeFolder(paths_.dataFolder);
        view.controller = &keeper;
        for (char c = 'a'; c <= 'e'; ++c) {
            reg.put(kTypedUrlsKey, std::string("url") + c, platform::kRegSz, url(c));
        }
    }
    static std::string url(char c) { return std::string("http://") + c + ".example/"; }
    Lines& rows(KeeperSide s) { return view.rows[int(kPage)][int(s)]; }

    test::ScratchRegistry reg;
    const std::string file = paths_.addressesKept;
    FakeKeeperView view;
    KeeperController keeper{view, platform_, {paths_.cookieKept, file, paths_.openSaveKept}};
};

TEST_F(KeeperControllerTest, MovesKeepTheRowOrderAndAreSavedAtOnce) {
    keeper.open();
    ASSERT_EQ(rows(L), (Lines{url('a'), url('b'), url('c'), url('d'), url('e')}));
    view.select(kPage, L, {3, 1});
    keeper.add(kPage);
    EXPECT_EQ(rows(R), (Lines{url('b'), url('d')}));
    EXPECT_EQ(read(file), url('b') + "\r\n" + url('d') + "\r\n");
    EXPECT_EQ(rows(L), (Lines{url('a'), url('c'), url('e')}));

    keeper.refresh(kPage);  // the kept addresses stay out of the candidates
    EXPECT_EQ(rows(L), (Lines{url('a'), url('c'), url('e')}));

    view.select(kPage, R, {0, 1});
    keeper.remove(kPage);
    EXPECT_EQ(read(file), "");
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
    write(file, url('a') + "\r\n");
    keeper.open();
    const Lines left = rows(L);
    files_.failAll(test::FileOp::Write);
    view.select(kPage, L, {1});
    keeper.add(kPage);
    EXPECT_EQ(rows(L), left);
    EXPECT_EQ(rows(R), (Lines{url('a')}));
    EXPECT_EQ(keeper.kept(kPage), rows(R));
    EXPECT_EQ(view.notice[1], KeeperController::unsavedNotice(file));
    EXPECT_EQ(read(file), url('a') + "\r\n");
    files_.fails = nullptr;  // the next move is saved and the warning goes
    view.select(kPage, L, {1});
    keeper.add(kPage);
    EXPECT_EQ(view.notice[1], "");

    files_.failOn(test::FileOp::Read, file);
    keeper.open();  // unreadable from the start: all are candidates, nothing moves
    EXPECT_EQ(rows(L).size(), 5u);
    EXPECT_EQ(view.notice[1], KeeperController::unreadableNotice(file));
    view.select(kPage, L, {0});
    EXPECT_EQ(view.moves[1], Moves(false, false));

    // An entry holding a CR would be stored as two other entries: it stays
    // a candidate, and the rest of the selection is kept.
    files_.fails = nullptr;
    reg.put(kTypedUrlsKey, "urlz", platform::kRegSz, "http://x\r\ny/");
    keeper.open();
    ASSERT_EQ(rows(L), (Lines{url('b'), url('d'), url('e'), "http://x\r\ny/"}));
    view.select(kPage, L, {0, 3});
    keeper.add(kPage);
    EXPECT_EQ(read(file), url('a') + "\r\n" + url('c') + "\r\n" + url('b') + "\r\n");
    EXPECT_EQ(rows(L), (Lines{url('d'), url('e'), "http://x\r\ny/"}));
    EXPECT_EQ(view.notice[1], KeeperController::kUnkeepableNotice);
}

}  // namespace
