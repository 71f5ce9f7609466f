// Program entry: link the shared block, replace a running copy, create the hidden configuration
// window (which brings up the tray icon, the clipboard-viewer chain and the hook) and run the
// message loop until the tray menu or a newer copy ends the program.
#include <windows.h>

#include <exception>
#include <optional>

#include "../common/Errors.h"
#include "../common/Settings.h"
#include "ConfigFrm.h"
#include "SingleInstance.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    std::optional<TSettingsLink> settings;
    try {
        settings.emplace();
        TStartupLock startup;
        if (NewerCopyRunning())
            return 0;
        CloseRunningInstance();
        TConfigForm form;
        if (!form.Create(instance))
            return 1;
        if (!form.HasHook())
            throw TWordlarkError("The keyboard hook could not be installed, so the hot keys cannot work. "
                                 "Wordlark ends.");
        startup.Release(); // the next copy to start finds this window now
        const int exitCode = form.RunMessageLoop();
        form.Destroy();
        return exitCode;
    } catch (const std::exception& error) {
        ShowErrorBox(nullptr, error.what());
    } catch (...) {
        ShowErrorBox(nullptr, "Unknown error");
    }
    return 1;
}
