#include "selection/erase_items_controller.h"

#include <algorithm>

namespace cindral::selection {

const char* const kSeparatorNotice = "The character ; cannot be used here.";

std::string UnsavedText(const std::string& path) {
    return "Could not save the changes to \"" + path + "\".";
}

GroupState groupStateOf(int checked, int members) {
    if (checked == members) return GroupState::All;
    return checked == 0 ? GroupState::None : GroupState::Neither;
}

namespace {

std::vector<std::string> keysOf(const std::vector<BuiltInBox>& boxes) {
    std::vector<std::string> keys;
    for (const BuiltInBox& b : boxes) keys.push_back(b.key);
    return keys;
}

bool validRow(int row, std::size_t rows) {
    return row >= 0 && static_cast<std::size_t>(row) < rows;
}

}  // namespace

EraseItemsController::EraseItemsController(EraseItemsView& view, platform::Platform& platform,
                                           EraseItemsFiles files, std::vector<BuiltInBox> boxes)
    : view_(view),
      platform_(platform),
      files_(std::move(files)),
      boxes_(std::move(boxes)),
      store_(*platform.profiles, *platform.files, files_.selItems),
      records_{{{files_.customRegistry, Edit::Edit1, Edit::Edit2, Edit::Edit4, 4, 3, {}},
                {files_.customFolder, Edit::Edit3, Edit::Edit5, Edit::Edit6, 3, 2, {}}}} {}

EraseItemsController::RecordPage& EraseItemsController::record(ListPage page) {
    return records_[page == ListPage::Registry ? 0 : 1];
}

void EraseItemsController::open() {
    state_ = FillSelectionDialog(platform_, store_, files_.home, keysOf(boxes_));
    for (std::size_t i = 0; i < state_.builtIn.size(); ++i)
        view_.setBox(static_cast<int>(i), state_.builtIn[i]);
    updating_ = true;
    view_.setPluginRows(state_.plugins);
    updating_ = false;
    for (ItemGroup group : kRadioGroups) syncGroup(group);

    for (ListPage page : {ListPage::Registry, ListPage::Folder}) {
        view_.setRecordRows(page, {});
        view_.enableField(record(page).name, false);
    }
    view_.setMasks({});
    for (ListPage page : {ListPage::Registry, ListPage::Folder, ListPage::DriveScan}) {
        view_.enableAdd(page, false);
        view_.enableDelete(page, false);
    }
}

// ---------------------------------------------------------------------------
// Check boxes, plug-in rows and their radio pairs.

void EraseItemsController::syncGroup(ItemGroup group) {
    int members = 0, checked = 0;
    if (group == ItemGroup::Plugins) {
        members = static_cast<int>(state_.plugins.size());
        for (const PluginRow& row : state_.plugins) checked += row.checked;
    } else {
        for (std::size_t i = 0; i < boxes_.size(); ++i) {
            if (boxes_[i].group != group) continue;
            ++members;
            checked += state_.builtIn[i];
        }
    }
    const GroupState state = groupStateOf(checked, members);
    groups_[static_cast<std::size_t>(group)] = state;
    view_.setGroupState(group, state);
}

void EraseItemsController::boxChanged(int box, bool checked) {
    if (!validRow(box, boxes_.size())) return;
    state_.builtIn[static_cast<std::size_t>(box)] = checked;
    const ItemGroup group = boxes_[static_cast<std::size_t>(box)].group;
    if (group != ItemGroup::DriveScan) syncGroup(group);
}

void EraseItemsController::pluginRowChanged(int row, bool checked) {
    if (updating_) return;
    if (validRow(row, state_.plugins.size()))
        state_.plugins[static_cast<std::size_t>(row)].checked = checked;
    syncGroup(ItemGroup::Plugins);
}

void EraseItemsController::radioChosen(ItemGroup group, bool all) {
    if (group == ItemGroup::DriveScan) return;
    const GroupState wanted = all ? GroupState::All : GroupState::None;
    if (groupState(group) == wanted) return;
    if (group == ItemGroup::Plugins) {
        updating_ = true;
        for (std::size_t i = 0; i < state_.plugins.size(); ++i) {
            state_.plugins[i].checked = all;
            view_.setPluginChecked(static_cast<int>(i), all);
        }
        updating_ = false;
    } else {
        for (std::size_t i = 0; i < boxes_.size(); ++i) {
            if (boxes_[i].group != group) continue;
            state_.builtIn[i] = all;
            view_.setBox(static_cast<int>(i), all);
        }
    }
    syncGroup(group);
}

// ---------------------------------------------------------------------------
// Pages.

void EraseItemsController::pageShown(ErasePage page) {
    switch (page) {
        case ErasePage::Windows:
            syncGroup(ItemGroup::Windows);
            break;
        case ErasePage::Browsers:
            break;  // the inner page on view has its own handling
        case ErasePage::Applications:
            syncGroup(ItemGroup::Plugins);
            break;
        case ErasePage::Registry:
        case ErasePage::Folder: {
            const ListPage list =
                page == ErasePage::Registry ? ListPage::Registry : ListPage::Folder;
            actionChosen(list);
            fillRecords(list);
            break;
        }
        case ErasePage::DriveScan:
            fillMasks();
            break;
    }
}

void EraseItemsController::browserPageShown(int innerPage) {
    static constexpr ItemGroup kBrowsers[] = {ItemGroup::InternetExplorer, ItemGroup::Netscape,
                                              ItemGroup::Opera, ItemGroup::Aol};
    if (innerPage >= 0 && innerPage < 4) syncGroup(kBrowsers[innerPage]);
}

// ---------------------------------------------------------------------------
// The editing pages.

void EraseItemsController::fieldChanged(ListPage page) { updateAdd(page); }

bool EraseItemsController::updateAdd(ListPage page) {
    if (page == ListPage::DriveScan) {
        const bool enabled = !view_.text(Edit::Edit7).empty();
        view_.enableAdd(page, enabled);
        return enabled;
    }
    // A ";" would end its field early and shift every later one: the
    // record would read back with other fields, and a run would look it up
    // under a shortened title.
    const RecordPage& r = record(page);
    bool refused = false;
    for (Edit field : {r.title, r.target, r.name}) {
        const bool holdsSeparator = view_.text(field).find(';') != std::string::npos;
        view_.markField(field, holdsSeparator);
        refused = refused || holdsSeparator;
    }
    view_.setNotice(page, refused ? kSeparatorNotice : "");
    const bool enabled = !refused && !view_.text(r.title).empty() && !view_.text(r.target).empty();
    view_.enableAdd(page, enabled);
    return enabled;
}

void EraseItemsController::actionChosen(ListPage page) {
    if (page == ListPage::DriveScan) return;
    const RecordPage& r = record(page);
    view_.enableField(r.name, view_.choice(page) == r.nameChoice);
}

void EraseItemsController::rowsChanged(ListPage page) {
    if (loading_) return;
    const int row = view_.selectedRow(page);
    if (page == ListPage::DriveScan) {
        view_.enableDelete(page, validRow(row, shownMasks_.size()) &&
                                     !shownMasks_[static_cast<std::size_t>(row)].empty());
        return;
    }
    RecordPage& r = record(page);
    const bool selected = validRow(row, r.shown.size());
    view_.enableDelete(page, selected);
    if (selected) {
        // The stored action, shown without the action-choice handling; a
        // number the choice does not have leaves the choice as it is.
        const int action =
            ReadLeadingInteger(RecordField(r.shown[static_cast<std::size_t>(row)], 3));
        if (action >= 0 && action < r.choices) view_.setChoice(page, action);
    }
    writeBackChecks(page);
}

void EraseItemsController::writeBackChecks(ListPage page) {
    const RecordPage& r = record(page);
    if (WriteBackChecks(*platform_.files, r.path, view_.rowChecks(page))) return;
    view_.warn(UnsavedText(r.path));
    fillRecords(page);  // the rows show the file as it stands
}

void EraseItemsController::fillRecords(ListPage page) {
    RecordPage& r = record(page);
    CustomRecordList list;
    list.load(*platform_.files, r.path);
    r.shown = list.lines();
    loading_ = true;
    view_.setRecordRows(page, list.rows());
    loading_ = false;
    view_.enableDelete(page, false);  // no row is selected after a fill
}

void EraseItemsController::fillMasks() {
    MaskList list;
    list.load(*platform_.files, files_.driveScan);
    shownMasks_ = list.lines();
    loading_ = true;
    view_.setMasks(shownMasks_);
    loading_ = false;
    view_.enableDelete(ListPage::DriveScan, false);
}

void EraseItemsController::add(ListPage page) {
    if (page == ListPage::DriveScan) {
        addMask();
    } else {
        addRecord(page);
    }
}

void EraseItemsController::remove(ListPage page) {
    if (page == ListPage::DriveScan) {
        removeMask();
    } else {
        removeRecord(page);
    }
}

void EraseItemsController::addRecord(ListPage page) {
    if (!updateAdd(page)) return;  // Enter in a field reaches here with Add disabled too
    const RecordPage& r = record(page);
    // The choice is a fixed list that always has an entry selected.
    const int action = std::clamp(view_.choice(page), 0, r.choices - 1);

    // Appended to the file as it stands, so that nothing written since the
    // page was filled is lost.
    CustomRecordList list;
    list.load(*platform_.files, r.path);
    list.add(MakeRecordLine(view_.text(r.title), view_.text(r.target), action, view_.text(r.name)));
    if (!list.save(*platform_.files, r.path)) {
        view_.warn(UnsavedText(r.path));  // the fields keep what was typed
        fillRecords(page);
        return;
    }
    for (Edit field : {r.title, r.target, r.name}) view_.setText(field, "");
    // Set back without the action-choice handling: the name field keeps its
    // state until the choice is next changed or the page is shown again.
    view_.setChoice(page, 0);
    updateAdd(page);
    fillRecords(page);
}

void EraseItemsController::removeRecord(ListPage page) {
    RecordPage& r = record(page);
    const int row = view_.selectedRow(page);
    if (!validRow(row, r.shown.size())) return;  // Del without a row removes nothing
    const std::size_t at = static_cast<std::size_t>(row);
    const std::string title = RecordField(r.shown[at], 1);
    if (!view_.confirm(DeleteRecordQuestion(title))) return;
    // The line goes only when it is still the record the row shows; had the
    // file changed meanwhile, the refilled list shows it as it is now.
    CustomRecordList list;
    list.load(*platform_.files, r.path);
    if (at < list.size() && RecordField(list.line(at), 1) == title) {
        list.removeRecord(at);
        if (!list.save(*platform_.files, r.path)) view_.warn(UnsavedText(r.path));
    }
    fillRecords(page);
}

void EraseItemsController::addMask() {
    if (!updateAdd(ListPage::DriveScan)) return;
    MaskList list;
    list.load(*platform_.files, files_.driveScan);
    list.add(view_.text(Edit::Edit7));
    if (!list.save(*platform_.files, files_.driveScan)) {
        view_.warn(UnsavedText(files_.driveScan));
        fillMasks();
        return;
    }
    view_.setText(Edit::Edit7, "");
    updateAdd(ListPage::DriveScan);
    fillMasks();
}

void EraseItemsController::removeMask() {
    const int row = view_.selectedRow(ListPage::DriveScan);
    if (!validRow(row, shownMasks_.size())) return;
    const std::size_t at = static_cast<std::size_t>(row);
    const std::string mask = shownMasks_[at];
    if (mask.empty() || !view_.confirm(DeleteMaskQuestion(mask))) return;
    MaskList list;
    list.load(*platform_.files, files_.driveScan);
    if (at < list.size() && list.line(at) == mask) {
        list.remove(at);
        if (!list.save(*platform_.files, files_.driveScan))
            view_.warn(UnsavedText(files_.driveScan));
    }
    fillMasks();
}

// ---------------------------------------------------------------------------

bool EraseItemsController::accept() {
    if (SaveSelectionDialog(store_, state_)) return true;
    view_.warn(UnsavedText(files_.selItems));
    return false;
}

}  // namespace cindral::selection
