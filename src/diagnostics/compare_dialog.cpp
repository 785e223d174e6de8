#include "diagnostics/compare_dialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "document/display_text.h"
#include "document/vesk_doc.h"
#include "resources/string_ids/diagnostics.h"

namespace diagnostics {
namespace {

using document::LoadedText;

using tarvel::kCompareCloseCaption;
using tarvel::kCompareDeviceColumn;
using tarvel::kCompareFileColumn;
using tarvel::kCompareLabelColumn;
using tarvel::kCompareWindowTitle;

constexpr QSize kInitialSize{640, 360};

}  // namespace

CompareDialog::CompareDialog(const QString& path,
                             const std::vector<document::LineDifference>& differences,
                             QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(LoadedText(kCompareWindowTitle) + QStringLiteral(" — ") +
                   QFileInfo(path).fileName());
    resize(kInitialSize);

    auto* summary = new QLabel(document::ComparisonSummary(differences.size()), this);
    m_table = new QTableWidget(static_cast<int>(differences.size()), 3, this);
    m_table->setHorizontalHeaderLabels({LoadedText(kCompareLabelColumn),
                                        LoadedText(kCompareFileColumn),
                                        LoadedText(kCompareDeviceColumn)});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const document::LineDifference& difference = differences[static_cast<std::size_t>(row)];
        m_table->setItem(row, 0, new QTableWidgetItem(difference.label));
        m_table->setItem(row, 1, new QTableWidgetItem(difference.fileText));
        m_table->setItem(row, 2, new QTableWidgetItem(difference.deviceText));
    }
    m_table->setVisible(!differences.empty());

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close =
        buttons->addButton(LoadedText(kCompareCloseCaption), QDialogButtonBox::RejectRole);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
}

CompareDialog* CompareFileWithDevice(document::CVeskDoc& doc, const QString& path, QWidget* parent)
{
    const std::optional<document::DeviceComparison> comparison =
        document::RunCommand(doc.commands(), document::Cancel::Allowed, [&doc, &path] {
            // Both objects use the same modem, which only one may have open.
            doc.transmitter().ClosePort();
            document::CVeskDoc device(doc.ui(), doc.portSettings(), doc.sleeper());
            // Its frames belong to the session's trace like every other exchange.
            device.transmitter().attachTrace(doc.transmitter().traceSink());
            return document::CompareWithDevice(device, path);
        });
    if (!comparison || comparison->outcome != document::DeviceComparison::Outcome::Compared)
        return nullptr;
    auto* dialog = new CompareDialog(path, comparison->differences, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return dialog;
}

}  // namespace diagnostics
