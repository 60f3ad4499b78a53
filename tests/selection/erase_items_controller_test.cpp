#include "selection/erase_items_controller.h"

#include <gtest/gtest.h>

#include <map>

#include "engine/builtin_items.h"
#include "support/fixtures.h"

namespace cindral::selection {
namespace {

using Lines = std::vector<std::string>;

// Holds what the dialog would show; questions are answered with `answer`.
class FakeView : public EraseItemsView {
public:
    EraseItemsController* controller = nullptr;
    std::vector<bool> boxes = std::vector<bool>(24);
    std::map<ItemGroup, GroupState> radios;
    std::vector<bool> plugins;
    std::map<ListPage, std::vector<bool>> checks;
    std::map<ListPage, int> selected, choices;
    std::map<ListPage, bool> addEnabled;
    std::map<ListPage, std::string> notices;
    std::map<Edit, std::string> texts;
    Lines masks, questions, warnings;
    bool answer = true;

    void setBox(int box, bool c) override { boxes.at(static_cast<std::size_t>(box)) = c; }
    void setGroupState(ItemGroup g, GroupState s) override { radios[g] = s; }
    void setPluginRows(const std::vector<PluginRow>& r) override {
        plugins.clear();
        for (const auto& row : r) plugins.push_back(row.checked);
    }
    void setPluginChecked(int row, bool c) override {
        plugins.at(static_cast<std::size_t>(row)) = c;
        controller->pluginRowChanged(row, c);  // the list reports its own change
    }
    void setRecordRows(ListPage page, const std::vector<RecordRow>& r) override {
        selected[page] = -1;
        checks[page].clear();
        for (const auto& row : r) checks[page].push_back(row.checked);
        controller->rowsChanged(page);  // as the list does while it is filled
    }
    void setMasks(const Lines& m) override { masks = m; }
    int selectedRow(ListPage page) override { return selected[page]; }
    std::vector<bool> rowChecks(ListPage page) override { return checks[page]; }
    std::string text(Edit f) override { return texts[f]; }
    void setText(Edit f, const std::string& t) override { texts[f] = t; }
    void enableField(Edit, bool) override {}
    void markField(Edit, bool) override {}
    void setNotice(ListPage page, const std::string& t) override { notices[page] = t; }
    int choice(ListPage page) override { return choices[page]; }
    void setChoice(ListPage page, int p) override { choices[page] = p; }
    void enableAdd(ListPage page, bool e) override { addEnabled[page] = e; }
    void enableDelete(ListPage, bool) override {}
    bool confirm(const std::string& q) override {
        questions.push_back(q);
        return answer;
    }
    void warn(const std::string& t) override { warnings.push_back(t); }
};

std::vector<BuiltInBox> dialogBoxes() {
    std::vector<BuiltInBox> boxes;
    for (const auto* item : engine::ItemsInDialogOrder())
        boxes.push_back({item->name, item->group});
    return boxes;
}

class EraseItemsTest : public cindral::test::HomeTest {
protected:
    FakeView view;
    EraseItemsFiles files{home_, paths_.selItems, paths_.customRegistry, paths_.customFolder,
                          paths_.driveScan};
    EraseItemsController dialog{view, platform_, files, dialogBoxes()};

    void SetUp() override {
        box_.makeFolder(paths_.dataFolder);
        view.controller = &dialog;
    }
    void plugin(const std::string& file, const std::string& title) {
        write(paths_.pluginFolder + file, "[Plugin]\r\nTitle=" + title + "\r\n");
    }
    // Types into the fields of a page, one change at a time as the user would.
    void type(ListPage page, std::map<Edit, std::string> fields) {
        for (const auto& [field, text] : fields) {
            view.texts[field] = text;
            dialog.fieldChanged(page);
        }
    }
};

TEST_F(EraseItemsTest, EveryGroupFollowsItsMembersAndItsRadiosSetThem) {
    plugin("a.cnp", "First");
    plugin("b.cnp", "Second");
    dialog.open();
    // Box (CB number less one) of one member of each group; -1: plug-in row 0.
    const std::pair<ItemGroup, int> groups[] = {
        {ItemGroup::Windows, 3}, {ItemGroup::Aol, 22}, {ItemGroup::Plugins, -1}};
    for (const auto& [group, member] : groups) {
        auto set = [&, member = member](bool on) {
            member < 0 ? dialog.pluginRowChanged(0, on) : dialog.boxChanged(member, on);
        };
        auto states = [&, group = group] {
            EXPECT_EQ(view.radios[group], dialog.groupState(group));
            return dialog.groupState(group);
        };
        SCOPED_TRACE(static_cast<int>(group));
        EXPECT_EQ(states(), GroupState::All);  // a missing store checks everything
        set(false);
        EXPECT_EQ(states(), GroupState::Neither);
        dialog.radioChosen(group, false);
        EXPECT_EQ(states(), GroupState::None);
        set(true);
        EXPECT_EQ(states(), GroupState::Neither);
        dialog.radioChosen(group, true);
        EXPECT_EQ(states(), GroupState::All);
    }
    // The radios changed their own group only.
    EXPECT_EQ(view.boxes, std::vector<bool>(24, true));
    EXPECT_EQ(view.plugins, (std::vector<bool>{true, true}));
}

TEST_F(EraseItemsTest, CancelWritesOnlyNewPluginsAndOkWritesBoxesThenRowsInListOrder) {
    plugin("a.cnp", "Same");
    plugin("b.cnp", "Same");
    plugin("c.cnp", "Clipboard");  // shares the built-in item's key
    plugin("d.cnp", "Brand New");
    const std::string before = "[Items]\r\nSame=0\r\nClipboard=0\r\n";
    write(files.selItems, before);
    {
        EraseItemsController cancelled{view, platform_, files, dialogBoxes()};
        view.controller = &cancelled;
        cancelled.open();
        cancelled.radioChosen(ItemGroup::Windows, true);
        cancelled.radioChosen(ItemGroup::Plugins, true);
    }
    EXPECT_EQ(read(files.selItems), before + "Brand New=1\r\n");

    view.controller = &dialog;
    dialog.open();
    EXPECT_EQ(view.plugins, (std::vector<bool>{false, false, false, true}));
    EXPECT_FALSE(view.boxes[6]);
    dialog.boxChanged(0, false);
    dialog.boxChanged(6, true);        // CB7 "Clipboard", overruled by the plug-in row below
    dialog.pluginRowChanged(1, true);  // the lower of the two "Same" rows decides
    ASSERT_TRUE(dialog.accept());
    std::string expected = "[Items]\r\nSame=1\r\nClipboard=0\r\nBrand New=1\r\n";
    for (const auto& box : dialogBoxes()) {
        if (box.key == "Clipboard") continue;
        expected += box.key + (box.key == "Windows Open/Save Dialog History" ? "=0\r\n" : "=1\r\n");
    }
    EXPECT_EQ(read(files.selItems), expected);
}

TEST_F(EraseItemsTest, RecordPagesAddDeleteAndWriteBackTheirFile) {
    struct Page {
        ListPage page;
        ErasePage tab;
        std::string path;
        Edit title, target, name;
        int nameChoice;
    } pages[] = {{ListPage::Registry, ErasePage::Registry, files.customRegistry, Edit::Edit1,
                  Edit::Edit2, Edit::Edit4, 3},
                 {ListPage::Folder, ErasePage::Folder, files.customFolder, Edit::Edit3, Edit::Edit5,
                  Edit::Edit6, 2}};
    dialog.open();
    for (const Page& p : pages) {
        SCOPED_TRACE(p.path);
        write(p.path, "Old;K;1;;2;\r\n");
        dialog.pageShown(p.tab);
        ASSERT_EQ(view.checks[p.page], std::vector<bool>{true});

        // Selecting a row shows its action; a changed mark is written back.
        view.checks[p.page] = {false};
        view.selected[p.page] = 0;
        dialog.rowsChanged(p.page);
        EXPECT_EQ(view.choices[p.page], 1);
        EXPECT_EQ(read(p.path), "Old;K;1;;0;\r\n");

        // A ";" in any field refuses Add and says why.
        view.choices[p.page] = p.nameChoice;
        dialog.actionChosen(p.page);
        type(p.page, {{p.title, "T"}, {p.target, "K"}, {p.name, "V;"}});
        EXPECT_FALSE(view.addEnabled[p.page]);
        EXPECT_EQ(view.notices[p.page], kSeparatorNotice);
        type(p.page, {{p.name, "V"}});
        EXPECT_EQ(view.notices[p.page], "");

        dialog.add(p.page);
        const std::string added = "T;K;" + std::to_string(p.nameChoice) + ";V;1;\r\n";
        EXPECT_EQ(read(p.path), "Old;K;1;;0;\r\n" + added);

        // Del: nothing without a row; a question per click; No keeps the line.
        view.questions.clear();
        dialog.remove(p.page);
        view.selected[p.page] = 1;
        view.answer = false;
        dialog.remove(p.page);
        EXPECT_EQ(view.questions, Lines{"Are you sure you want to delete \"T\"?"});
        EXPECT_EQ(read(p.path), "Old;K;1;;0;\r\n" + added);
        view.answer = true;
        dialog.remove(p.page);
        EXPECT_EQ(read(p.path), "Old;K;1;;0;\r\n");

        // A file that cannot be written keeps what was typed.
        files_.failAll(cindral::test::FileOp::Write);
        type(p.page, {{p.title, "U"}, {p.target, "L"}});
        dialog.add(p.page);
        files_.fails = nullptr;
        EXPECT_EQ(view.warnings.back(), UnsavedText(p.path));
        EXPECT_EQ(view.texts[p.title], "U");

        // Del keeps a record that only the runs see, after a lone LF.
        write(p.path, "Old;K;1;;0;\nNext;K;0;;1;\r\n");
        dialog.pageShown(p.tab);
        view.selected[p.page] = 0;
        dialog.remove(p.page);
        EXPECT_EQ(read(p.path), "Next;K;0;;1;\r\n");
    }
}

TEST_F(EraseItemsTest, MasksAreAddedAsTypedAndOnlyTextEntriesCanBeDeleted) {
    write(files.driveScan, "\r\n");
    dialog.open();
    dialog.pageShown(ErasePage::DriveScan);
    type(ListPage::DriveScan, {{Edit::Edit7, " *.bak "}});
    dialog.add(ListPage::DriveScan);
    EXPECT_EQ(view.masks, (Lines{"", " *.bak "}));
    for (int row : {0, 1}) {
        view.selected[ListPage::DriveScan] = row;
        dialog.rowsChanged(ListPage::DriveScan);
        dialog.remove(ListPage::DriveScan);  // the empty entry is not asked about
    }
    EXPECT_EQ(view.questions, Lines{"Are you sure you want to delete mask \" *.bak \"?"});
    EXPECT_EQ(read(files.driveScan), "\r\n");
}

}  // namespace
}  // namespace cindral::selection
