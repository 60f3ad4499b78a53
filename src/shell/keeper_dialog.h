// The Keeper dialog (TForm3): on three pages, the cookies, typed addresses
// and Open/Save history entries a cleaning run would erase (left) beside
// those kept from it (right), with "Add ->", "<- Remove" and "Refresh List"
// between them. Every move is saved at once, so there is only "Close". The
// behaviour lives in settings::KeeperController; this class shows it.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "settings/keeper_controller.h"
#include "shell/dialog_host.h"
#include "shell/skinned_dialog.h"

namespace cindral::shell {

class KeeperDialog : public SkinnedDialog, private settings::KeeperView {
public:
    static constexpr int kPagesId = kFirstControlId;
    // The controls of a page, by their place in the page's block of ids.
    enum Part { LeftList, RightList, AddButton, RemoveButton, RefreshButton, Notice, PartCount };
    static int controlId(settings::KeeperPage page, Part part);

    KeeperDialog(DialogContext context, platform::Platform& platform, settings::KeeperFiles files);
    // Over the home's kept lists, as the main window opens it.
    explicit KeeperDialog(DialogHost& host);

    settings::KeeperController& controller() { return controller_; }
    HWND control(settings::KeeperPage page, Part part) const;

protected:
    bool build() override;
    void pageShown(int pageSetId, int page) override;
    void command(int id, int code, HWND control) override;
    LRESULT notify(const NMHDR& header) override;

private:
    // settings::KeeperView
    void setRows(settings::KeeperPage page, settings::KeeperSide side,
                 const std::vector<std::string>& rows) override;
    void appendRow(settings::KeeperPage page, settings::KeeperSide side,
                   const std::string& row) override;
    void deleteRow(settings::KeeperPage page, settings::KeeperSide side, int row) override;
    std::vector<int> selectedRows(settings::KeeperPage page, settings::KeeperSide side) override;
    int selectedCount(settings::KeeperPage page, settings::KeeperSide side) override;
    void enableMoves(settings::KeeperPage page, bool add, bool remove) override;
    void setNotice(settings::KeeperPage page, const std::string& text) override;

    bool buildPage(settings::KeeperPage page, DialogPage& site);
    HWND list(settings::KeeperPage page, settings::KeeperSide side) const;
    void enable(HWND button, bool enabled, HWND focusInstead);

    std::array<std::array<HWND, PartCount>, settings::kKeeperPageCount> controls_{};
    settings::KeeperController controller_;
};

}  // namespace cindral::shell
