#include "tray/TrayMenu.h"

#include "res/Resource.h"

namespace tarnwick {

CMenu LoadTrayMenu() {
    CMenu connectTo;
    connectTo.AppendCommand(ID_CONNECT_NONE, "<none>", false);

    CMenu connections;
    connections.AppendCommand(ID_RECONNECT_CURRENT, "Reconnect current");
    connections.AppendCommand(ID_DISCONNECT_CURRENT, "Disconnect current");
    connections.AppendPopup("Connect to...", std::move(connectTo));

    CMenu rebootShutdown;
    rebootShutdown.AppendCommand(ID_REBOOT, "Reboot the System now");
    rebootShutdown.AppendCommand(ID_SHUTDOWN, "Shutdown the System now");

    CMenu popup;
    popup.AppendCommand(ID_SETTINGS, "Settings");
    popup.AppendSeparator();
    popup.AppendPopup("Reboot/Shutdown...", std::move(rebootShutdown));
    popup.AppendPopup("Connections...", std::move(connections));
    popup.AppendCommand(ID_RESET_MODEM_POWER, "Reset modem power");
    popup.AppendSeparator();
    popup.AppendCommand(ID_APP_ABOUT, "&About Tarnwick...");
    popup.AppendSeparator();
    popup.AppendCommand(ID_APP_EXIT, "Exit Tarnwick");

    CMenu menu;
    menu.AppendPopup("", std::move(popup));
    return menu;
}

} // namespace tarnwick
