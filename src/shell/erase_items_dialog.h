// The Erase Items dialog (TForm1): six pages of what a run erases (the
// built-in items by group, the plug-ins, the custom registry and folder
// records, the drive-scan masks). The behaviour is
// selection::EraseItemsController's; this class lays out the controls,
// shows what the controller asks and hands it the user's actions.
#pragma once

#include <array>
#include <map>
#include <memory>

#include "app/data_paths.h"
#include "platform/platform.h"
#include "selection/erase_items_controller.h"
#include "shell/dialog_host.h"
#include "shell/skinned_dialog.h"

namespace cindral::shell {

struct RecordPageLayout;

class EraseItemsDialog : public SkinnedDialog, private selection::EraseItemsView {
public:
    // Control identifiers, after the names the pages give their controls.
    static constexpr int kPagesId = 100;                      // FlatTabControl1 over Notebook1
    static constexpr int kBrowserPagesId = 101;               // FlatTabControl2 over Notebook2
    static constexpr int boxId(int n) { return 110 + n; }     // CB1 .. CB24
    static constexpr int radioId(int n) { return 140 + n; }   // RB1 .. RB12
    static constexpr int kPluginListId = 161;                 // ListView1
    static constexpr int kRegistryListId = 162;               // ListView2
    static constexpr int kFolderListId = 164;                 // ListView4
    static constexpr int kMaskListId = 165;                   // ListBox1
    static constexpr int editId(int n) { return 170 + n; }    // Edit1 .. Edit7
    static constexpr int kRegistryActionId = 181;             // ComboBox1
    static constexpr int kFolderActionId = 182;               // ComboBox2
    static constexpr int addId(int n) { return 190 + n; }     // BTN_ADD1 .. BTN_ADD3
    static constexpr int deleteId(int n) { return 195 + n; }  // BTN_DEL1 .. BTN_DEL3
    static constexpr int kRegeditId = 201;                    // suiImageButton1
    static constexpr int kBrowseId = 207;                     // suiImageButton7

    EraseItemsDialog(DialogContext context, platform::Platform& platform,
                     const app::DataPaths& paths);
    // Hosted by the main window.
    explicit EraseItemsDialog(DialogHost& host);
    ~EraseItemsDialog() override;

    // A control of any page by its identifier; null when there is none.
    HWND control(int id) const;
    // The line under a page's fields that says why Add is refused.
    HWND notice(selection::ListPage page) const;
    selection::EraseItemsController& controller() { return controller_; }

protected:
    bool build() override;
    void pageShown(int pageSetId, int page) override;
    bool accept() override;
    void command(int id, int code, HWND control) override;
    LRESULT notify(const NMHDR& header) override;
    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // selection::EraseItemsView
    void setBox(int box, bool checked) override;
    void setGroupState(selection::ItemGroup group, selection::GroupState state) override;
    void setPluginRows(const std::vector<selection::PluginRow>& rows) override;
    void setPluginChecked(int row, bool checked) override;
    void setRecordRows(selection::ListPage page,
                       const std::vector<selection::RecordRow>& rows) override;
    void setMasks(const std::vector<std::string>& masks) override;
    int selectedRow(selection::ListPage page) override;
    std::vector<bool> rowChecks(selection::ListPage page) override;
    std::string text(selection::Edit field) override;
    void setText(selection::Edit field, const std::string& text) override;
    void enableField(selection::Edit field, bool enabled) override;
    void markField(selection::Edit field, bool marked) override;
    void setNotice(selection::ListPage page, const std::string& text) override;
    int choice(selection::ListPage page) override;
    void setChoice(selection::ListPage page, int position) override;
    void enableAdd(selection::ListPage page, bool enabled) override;
    void enableDelete(selection::ListPage page, bool enabled) override;
    bool confirm(const std::string& question) override;
    void warn(const std::string& text) override;

    HWND add(HWND control);
    void buildWindowsPage(DialogPage& page);
    void buildBrowserPages(DialogPage& page);
    void buildApplicationsPage(DialogPage& page);
    void buildRegistryPage(DialogPage& page);
    void buildFolderPage(DialogPage& page);
    void buildDriveScanPage(DialogPage& page);
    void buildRecordPage(DialogPage& page, const RecordPageLayout& layout);
    // A radio pair: "Check All Items" is RB`all`, "Check None" the next one.
    void addRadioPair(DialogPage& page, int all, int x, int y);
    void addBoxes(DialogPage& page, int first, int last, int x, int y);
    HWND listOf(selection::ListPage page) const;
    HWND editOf(selection::Edit field) const;
    void rowsChangedLater(selection::ListPage page);

    selection::EraseItemsController controller_;
    std::map<int, HWND> controls_;
    std::map<HWND, DialogPage*> pageOf_;
    std::array<HWND, 3> notices_{};
    std::array<bool, 3> rowsPending_{};
};

}  // namespace cindral::shell
