// clipwright-cli ports: the serial devices present, as the device setup's Device... list shows
// them, one a line: the name a port setting takes, the device node it stands for, maker, model
// and the ports of the program folder's cw20.ini that name it, separated by TABs.
#include "cli/CliIo.h"
#include "cli/CliSession.h"
#include "cli/CommandArguments.h"
#include "cli/Commands.h"
#include "devices/SettingsPortResolver.h"
#include "link/CComm.h"
#include "link/PortResolver.h"
#include "link/SerialDeviceList.h"

int RunPortsCommand(const CommandArguments& args) {
    if (!args.positional().isEmpty()) {
        PrintError("ports: takes no arguments besides its options");
        return 2;
    }
    const CliSession session(args.startOptions());
    const std::vector<SerialDevice> devices = ListSerialDevices();
    if (devices.empty())
        PrintError("ports: no serial device found");
    const SettingsPortResolver ports(session.settings());
    for (const SerialDevice& device : devices) {
        PrintLine(QStringList({device.path, device.kernelPath, device.maker, device.model,
                               PortsUsing(device, ports, CComm::kLastPort).join(u',')})
                      .join(u'\t'));
    }
    return 0;
}
