#pragma once

#include <functional>
#include <vector>

#include <QString>
#include <QStringList>

#include "serial/port_map.h"

namespace document {

using PortLister = std::function<std::vector<serial::PortInfo>()>;

// Entries of the port list: "COM<n>", with " (занят)" when another program holds the port,
// sorted as text (COM1, COM10, COM3).
QStringList FillPortList(const PortLister& lister = serial::ListPorts);

// The number in an entry's text (COM12 → 12, "COM3 (занят)" → 3); 0 without digits.
int PortNumberOf(const QString& entry);

// What the port dialog shows and would store.
struct PortChoice {
    QStringList entries;
    int selected = -1;  // index into entries, −1 for none
    int portNumber = -1;
    bool okEnabled = true;
};

// The dialog as it opens, with the stored choice (−1 when none).
PortChoice OpenPortChoice(int storedPort, const PortLister& lister = serial::ListPorts);

// The user selected another entry: every port is probed anew.
void SelectPort(PortChoice& choice, int index, const PortLister& lister = serial::ListPorts);

}  // namespace document
