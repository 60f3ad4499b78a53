// The behaviour of the Erase Items dialog (TForm1) without the window: the
// 24 built-in check boxes and the plug-in list with their six radio pairs,
// OK and Cancel over "SelItems.dat", and the three editing pages (custom
// registry records, custom folder records, drive-scan masks) whose files are
// written at every edit. The Win32 dialog is a thin EraseItemsView over this
// class; tests drive it through a fake view.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "selection/custom_record_list.h"
#include "selection/item_group.h"
#include "selection/mask_list.h"
#include "selection/selection_store.h"

namespace cindral::selection {

// The main pages, in tab order.
enum class ErasePage { Windows, Browsers, Applications, Registry, Folder, DriveScan };
constexpr int kErasePageCount = 6;

// The pages that edit a list file.
enum class ListPage { Registry, Folder, DriveScan };

// The dialog's text fields, by their names on the pages: Edit1 title, Edit2
// key and Edit4 value name (Registry); Edit3 title, Edit5 folder and Edit6
// file name (Folder); Edit7 the mask (Drive Scan).
enum class Edit { Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7 };

// Which radio of a group's pair is selected: n of N members checked gives
// All when n = N (0 of 0 included), None when n = 0, otherwise Neither.
enum class GroupState { All, None, Neither };
GroupState groupStateOf(int checked, int members);

// A built-in check box: the key it stands for and its group. CB1 first.
struct BuiltInBox {
    std::string key;
    ItemGroup group;
};

// Said by a field that holds a character the record line cannot store.
extern const char* const kSeparatorNotice;  // "The character ; cannot be used here."

// Said when a file could not be written; the path is the file's.
std::string UnsavedText(const std::string& path);

class EraseItemsView {
public:
    virtual ~EraseItemsView() = default;

    virtual void setBox(int box, bool checked) = 0;  // CB1 is 0
    virtual void setGroupState(ItemGroup group, GroupState state) = 0;
    virtual void setPluginRows(const std::vector<PluginRow>& rows) = 0;
    virtual void setPluginChecked(int row, bool checked) = 0;

    // The record rows of the Registry or Folder page, or the masks.
    virtual void setRecordRows(ListPage page, const std::vector<RecordRow>& rows) = 0;
    virtual void setMasks(const std::vector<std::string>& masks) = 0;
    // The selected row or mask; -1 for none.
    virtual int selectedRow(ListPage page) = 0;
    // The check marks of a record page's rows, in row order.
    virtual std::vector<bool> rowChecks(ListPage page) = 0;

    virtual std::string text(Edit field) = 0;
    virtual void setText(Edit field, const std::string& text) = 0;
    // Value name and file name: enabled with the window colour, or disabled
    // and greyed; the text stays either way.
    virtual void enableField(Edit field, bool enabled) = 0;
    // Marks a field whose text cannot be stored.
    virtual void markField(Edit field, bool marked) = 0;
    // The line under a page's fields that says why Add is refused; empty
    // hides it.
    virtual void setNotice(ListPage page, const std::string& text) = 0;

    // The action choice of a record page, by position.
    virtual int choice(ListPage page) = 0;
    virtual void setChoice(ListPage page, int position) = 0;

    virtual void enableAdd(ListPage page, bool enabled) = 0;
    virtual void enableDelete(ListPage page, bool enabled) = 0;

    // A Yes/No question: true unless the answer is No.
    virtual bool confirm(const std::string& question) = 0;
    virtual void warn(const std::string& text) = 0;
};

// The files the dialog reads and writes.
struct EraseItemsFiles {
    std::string home;  // with its trailing "\": the plug-ins are below it
    std::string selItems;
    std::string customRegistry;
    std::string customFolder;
    std::string driveScan;
};

class EraseItemsController {
public:
    EraseItemsController(EraseItemsView& view, platform::Platform& platform, EraseItemsFiles files,
                         std::vector<BuiltInBox> boxes);

    // Fills the check boxes and the plug-in list from the store (writing
    // "1" for plug-ins not stored as "0"), sets every radio pair, and leaves
    // the editing pages empty with Add, Del and the name fields disabled.
    void open();

    // Page n (or inner browser page n) has come into view.
    void pageShown(ErasePage page);
    void browserPageShown(int innerPage);

    // The user changed a built-in box, a plug-in row, or chose a radio.
    void boxChanged(int box, bool checked);
    void pluginRowChanged(int row, bool checked);
    void radioChosen(ItemGroup group, bool all);

    // Record pages: a field or the action choice changed; a row changed
    // (selection or check mark, by mouse or keyboard); Add; Del.
    void fieldChanged(ListPage page);
    void actionChosen(ListPage page);
    void rowsChanged(ListPage page);
    void add(ListPage page);
    void remove(ListPage page);

    // OK: stores the selection. False (the dialog stays open, the user has
    // been told) when the store could not be written.
    bool accept();

    // On while a list is being filled: the row changes the view reports
    // meanwhile are not the user's.
    bool loading() const { return loading_; }

    bool boxChecked(int box) const { return state_.builtIn.at(static_cast<std::size_t>(box)); }
    const std::vector<PluginRow>& plugins() const { return state_.plugins; }
    GroupState groupState(ItemGroup group) const {
        return groups_[static_cast<std::size_t>(group)];
    }

private:
    struct RecordPage {
        std::string path;
        Edit title, target, name;
        int choices;                     // number of actions
        int nameChoice;                  // the action that uses the name field
        std::vector<std::string> shown;  // the lines the rows show
    };

    RecordPage& record(ListPage page);
    // Enables Add by the page's rule; true when it is enabled.
    bool updateAdd(ListPage page);
    void syncGroup(ItemGroup group);
    void fillRecords(ListPage page);
    void fillMasks();
    void writeBackChecks(ListPage page);
    void addRecord(ListPage page);
    void removeRecord(ListPage page);
    void addMask();
    void removeMask();

    EraseItemsView& view_;
    platform::Platform& platform_;
    EraseItemsFiles files_;
    std::vector<BuiltInBox> boxes_;
    SelectionStore store_;
    SelectionDialogState state_;
    std::array<GroupState, 7> groups_{};
    std::array<RecordPage, 2> records_;
    std::vector<std::string> shownMasks_;
    bool loading_ = false;
    // Set while the controller changes plug-in rows itself: the changes the
    // view reports on the way are its own.
    bool updating_ = false;
};

}  // namespace cindral::selection
