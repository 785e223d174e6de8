#pragma once

#include <functional>

#include <QTemporaryDir>

#include "document/vesk_doc.h"
#include "hart/link_environment.h"
#include "support/fake_sleeper.h"
#include "support/scripted_user.h"
#include "transmitter/transmitter.h"

// A document for the report tests, with .4410 files written into a folder of its own.
// Numbers are formatted the English way while it lives.
class ReportDocument {
public:
    ReportDocument();
    ~ReportDocument();

    // The file format's example configuration with the tag "TT-101": PT100, four wires,
    // °C, 0…100, damping 5 s, high alarm, levels 3.75 / 21.75 / 3.9 / 20.5, 50 Hz filter,
    // write protection off; edit changes it before it is stored.
    QString
    WriteConfigurationFile(const QString& name,
                           const std::function<void(transmitter::CTransmitter&)>& edit = {});
    QString path(const QString& name) const { return m_files.filePath(name); }

    ScriptedUser user;
    hart::FixedPortSettings ports{1};
    FakeSleeper sleeper;
    document::CVeskDoc doc{user, ports, sleeper};

private:
    QTemporaryDir m_files;
};
