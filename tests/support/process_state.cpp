#include "support/process_state.h"

#include "account/login_state.h"
#include "api/server_lines.h"
#include "numbers/home_region.h"
#include "numbers/loop_mode.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/cookie_store.h"
#include "platform/downloader.h"
#include "platform/file_locations.h"
#include "platform/input_simulator.h"
#include "platform/message_box.h"
#include "platform/modal_opener.h"
#include "platform/process.h"
#include "platform/shell_open.h"
#include "platform/window_picker.h"

namespace lanxun::test {

// One line per process-wide value; a new one is added here.
void ResetProcessState() {
    CurrentLogin() = {};
    SetLines({});
    SetGetLoopMode({});
    SetSendLoopMode({});
    SetSegmentHost({});
    CookieStore::Instance().Clear();

    InstallMessageBoxes(nullptr);
    InstallClipboard(nullptr);
    InstallShell(nullptr);
    InstallModalWindows(nullptr);
    InstallProcessExit(nullptr);
    InstallClock(nullptr);
    InstallFileLocations(nullptr);
    InstallDownloads(nullptr);
    InstallInput(nullptr);
    InstallPicker(nullptr);
}

}  // namespace lanxun::test
