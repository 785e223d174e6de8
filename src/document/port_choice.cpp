#include "document/port_choice.h"

#include <algorithm>

namespace document {
namespace {

const QString kBusyMark = QString::fromUtf8(" (занят)");
// "COM255" has six characters: anything longer carries the busy mark.
constexpr qsizetype kLongestFreeEntry = 6;

}  // namespace

QStringList FillPortList(const PortLister& lister)
{
    QStringList entries;
    for (const serial::PortInfo& port : lister()) {
        QString entry = QStringLiteral("COM%1").arg(port.comNumber);
        if (port.busy) entry += kBusyMark;
        entries << entry;
    }
    std::sort(entries.begin(), entries.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return entries;
}

int PortNumberOf(const QString& entry)
{
    qsizetype i = 0;
    while (i < entry.size() && !entry[i].isDigit()) ++i;
    int number = 0;
    for (; i < entry.size() && entry[i].isDigit(); ++i) {
        number = number * 10 + entry[i].digitValue();
        if (number > 1000000) break;  // no port has such a number; stop before overflow
    }
    return number;
}

PortChoice OpenPortChoice(int storedPort, const PortLister& lister)
{
    PortChoice choice;
    choice.entries = FillPortList(lister);
    choice.portNumber = storedPort;
    if (choice.entries.isEmpty()) return choice;

    choice.selected = static_cast<int>(choice.entries.size()) - 1;
    if (storedPort == -1) {
        const QString& last = choice.entries.last();
        if (last.size() > kLongestFreeEntry)
            choice.okEnabled = false;
        else
            choice.portNumber = PortNumberOf(last);
        return choice;
    }
    for (int i = 0; i < choice.entries.size(); ++i) {
        if (PortNumberOf(choice.entries[i]) == storedPort) {
            choice.selected = i;
            break;
        }
    }
    return choice;
}

void SelectPort(PortChoice& choice, int index, const PortLister& lister)
{
    choice.entries = FillPortList(lister);
    choice.okEnabled = true;
    if (index < 0 || index >= choice.entries.size()) {
        choice.selected = -1;
        return;
    }
    choice.selected = index;
    const QString& text = choice.entries[index];
    if (text.size() <= kLongestFreeEntry) {
        if (const int number = PortNumberOf(text); number != 0) choice.portNumber = number;
    } else {
        choice.okEnabled = false;
    }
}

}  // namespace document
