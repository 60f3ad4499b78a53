// How the main window hosts its dialogs (Erase Items, Options, Keeper,
// About): each use creates the dialog anew, places it, runs it modally over
// the main window and destroys it. A dialog gets the host, which offers the
// owner, the placement and the services a dialog works with.
//
// A kit dialog (SkinnedDialog) with a constructor D(DialogHost&) is
// installed with one line, and its OK reaches the controller by itself:
//     setDialogRunner(app::Dialog::EraseItems, kitDialogRunner<EraseItemsDialog>());
#pragma once

#include <windows.h>

#include <functional>

#include "app/data_paths.h"
#include "app/main_controller.h"
#include "platform/platform.h"
#include "settings/settings_store.h"
#include "shell/desktop.h"
#include "shell/skinned_dialog.h"

namespace cindral::shell {

struct DialogHost {
    HWND owner;  // the main window
    Desktop& desktop;
    platform::Platform& platform;
    settings::Settings& settings;
    const app::DataPaths& paths;

    // Top-left corner for a dialog of the given pixel size: 30 pixels right
    // of and below the main window, or centred on the screen when the main
    // window is hidden.
    app::Point place(int width, int height) const;
    // What a kit dialog reaches beyond itself.
    DialogContext dialogContext() const {
        return DialogContext{desktop, *platform.files, paths.home};
    }
};

// Runs a hosted dialog; true when the user confirmed it with OK.
using DialogRunner = std::function<bool(DialogHost& host)>;

// The runner of a kit dialog: builds D from the host, runs it modally where
// the host places it and reports whether it ended with OK.
template <typename D>
DialogRunner kitDialogRunner() {
    return [](DialogHost& host) {
        D dialog(host);
        return dialog.run(host.owner, [&host](int w, int h) { return host.place(w, h); }) == IDOK;
    };
}

}  // namespace cindral::shell
