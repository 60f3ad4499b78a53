// The behaviour of the Keeper dialog (TForm3) without the window: three
// pages (cookies, typed addresses, Open/Save history), each with the
// candidates a cleaning run would erase on the left and the kept list on
// the right; "Add ->", "<- Remove" and "Refresh List"; which move button is
// enabled; and the kept list's file, saved after every move. Row i of a
// list always shows entry i of the list behind it. The Win32 dialog is a
// thin KeeperView over this class; tests drive it through a fake view.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "settings/keeper_lists.h"

namespace cindral::settings {

enum class KeeperPage { Cookies, Addresses, OpenSave };
constexpr int kKeeperPageCount = 3;

// Left: the candidates, to be cleaned. Right: the kept entries.
enum class KeeperSide { Left, Right };

// What tells the pages apart; page n of the dialog is kKeeperPages[n].
struct KeeperPageInfo {
    const char* tab;
    const char* group;
    const char* leftLabel;
    const char* rightLabel;
};
extern const std::array<KeeperPageInfo, kKeeperPageCount> kKeeperPages;

// The kept lists' files, by page.
using KeeperFiles = std::array<std::string, kKeeperPageCount>;

class KeeperView {
public:
    virtual ~KeeperView() = default;
    // Replaces every row of a list at once (no repainting row by row).
    virtual void setRows(KeeperPage page, KeeperSide side,
                         const std::vector<std::string>& rows) = 0;
    virtual void appendRow(KeeperPage page, KeeperSide side, const std::string& row) = 0;
    virtual void deleteRow(KeeperPage page, KeeperSide side, int row) = 0;
    // The selected rows, top to bottom.
    virtual std::vector<int> selectedRows(KeeperPage page, KeeperSide side) = 0;
    virtual int selectedCount(KeeperPage page, KeeperSide side) = 0;
    virtual void enableMoves(KeeperPage page, bool add, bool remove) = 0;
    // A line under the page's lists; empty hides it.
    virtual void setNotice(KeeperPage page, const std::string& text) = 0;
};

class KeeperController {
public:
    KeeperController(KeeperView& view, platform::Platform& platform, KeeperFiles files);

    // Loads and fills every page, then sets the move buttons (none enabled:
    // nothing is selected yet).
    void open();
    void add(KeeperPage page);
    void remove(KeeperPage page);
    void refresh(KeeperPage page);
    // A change of selection in, or a click on, one of a page's lists.
    void selectionChanged(KeeperPage page, KeeperSide side);
    // The page has come into view.
    void pageEntered(KeeperPage page);

    const KeeperList& kept(KeeperPage page) const;
    // False when the kept list's file exists but could not be read: the
    // page then lists its candidates but moves nothing.
    bool canMove(KeeperPage page) const;

    // The texts of the page's notice line.
    static std::string unreadableNotice(const std::string& path);
    static std::string unsavedNotice(const std::string& path);
    // Said when a selected entry holds a CR, which the file cannot hold.
    static const char* const kUnkeepableNotice;

private:
    struct PageState {
        std::vector<std::string> candidates;
        KeeperList kept;
        bool readable = true;
        KeeperSide lastSide = KeeperSide::Left;
    };

    PageState& state(KeeperPage page);
    std::vector<std::string> gather(KeeperPage page);
    std::string rowText(KeeperPage page, const std::string& entry) const;
    std::vector<std::string> rowTexts(KeeperPage page, const std::vector<std::string>& entries);
    void move(KeeperPage page, KeeperSide from);
    void applyButtons(KeeperPage page, KeeperSide side);

    KeeperView& view_;
    platform::Platform& platform_;
    KeeperFiles files_;
    std::array<PageState, kKeeperPageCount> pages_;
    // Set while the controller changes the lists itself: the selection
    // notices the view sends on the way are not the user's.
    bool updating_ = false;
};

}  // namespace cindral::settings
