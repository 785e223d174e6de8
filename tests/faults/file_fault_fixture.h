#pragma once

#include <ostream>
#include <stdexcept>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "document/config_file.h"
#include "document/vesk_doc.h"
#include "support/fake_sleeper.h"
#include "support/scripted_user.h"

// Names in failure messages as text, not as code units.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// A document that has a file open and an unsaved change, and a folder of files to open or
// save into. No transmitter is needed.
class FileFaultTest : public testing::Test {
protected:
    static constexpr float kPreviousDamping = 3.0f;
    static constexpr float kEditedDamping = 7.0f;

    FileFaultTest()
    {
        previousPath = WriteFile("previous.4410", ValidRecord(kPreviousDamping));
        if (!doc.OnOpenDocument(previousPath))
            throw std::runtime_error("the previous document did not open");
        doc.setDamping(kEditedDamping);
    }

    // A configuration with values a new document does not have.
    QByteArray ValidRecord(float damping = kPreviousDamping)
    {
        ScriptedUser otherUser;
        transmitter::CTransmitter values(otherUser, ports, sleeper);
        values.tag[0] = u'T';
        values.tag[1] = u'1';
        values.sensorType = 1;
        values.sensorConnection = 4;
        values.rangeUnits = 32;
        values.lowerRangeValue = -50.0f;
        values.upperRangeValue = 150.0f;
        values.damping = damping;
        return document::StoreConfiguration(values);
    }

    QString WriteFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            throw std::runtime_error("cannot write " + path.toStdString());
        return path;
    }

    static QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Everything in a folder, hidden files too: a failed save must leave no temporary file.
    static QStringList Entries(const QString& folder)
    {
        return QDir(folder).entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }

    // The document as the previous file and the edit left it.
    void ExpectPreviousDocument()
    {
        EXPECT_EQ(doc.GetPathName(), previousPath);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_FALSE(doc.IsCleared());
        EXPECT_EQ(doc.damping(), kEditedDamping);
        EXPECT_EQ(doc.upperRangeValue(), 150.0f);
    }

    QTemporaryDir dir;
    ScriptedUser user;
    FakeSleeper sleeper;
    hart::FixedPortSettings ports{1};
    document::CVeskDoc doc{user, ports, sleeper};
    QString previousPath;
};
