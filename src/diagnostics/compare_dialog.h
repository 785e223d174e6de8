#pragma once

#include <vector>

#include <QDialog>

#include "document/device_compare.h"

class QTableWidget;

namespace document {
class CVeskDoc;
}

namespace diagnostics {

// The differences between a file and the transmitter: one table row per differing line of
// the report, with the label, the file's text and the device's text, and the summary.
class CompareDialog : public QDialog {
    Q_OBJECT

public:
    CompareDialog(const QString& path, const std::vector<document::LineDifference>& differences,
                  QWidget* parent = nullptr);

    QTableWidget* table() const { return m_table; }

private:
    QTableWidget* m_table;
};

// Reads the transmitter into a document of its own, so the open one stays as it is, and
// shows how it differs from the file (nothing when the file or the read failed: their own
// messages have said so). The dialog is not modal and goes away when closed.
CompareDialog* CompareFileWithDevice(document::CVeskDoc& doc, const QString& path, QWidget* parent);

}  // namespace diagnostics
