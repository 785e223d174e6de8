#include "app/line_scan_dialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "controls/dialog_units.h"
#include "document/device_scan.h"
#include "document/display_text.h"
#include "resources/string_ids/app.h"

namespace {

using document::LoadedText;

enum ControlId {
    kTitleId = 2601,
    kTableId = 2602,
    kProgressId = 2613,
    kUseId = 2615,
    kStoreId = 2616,
    kCloseId = 2617,
    kStopId = 2619,
    kStatusId = 2621,
};

using tarvel::kScanStoppedText;

constexpr QSize kInitialSize{640, 320};

}  // namespace

CLineScanDialog::CLineScanDialog(ScanFunction scan, QWidget* parent)
    : QDialog(parent), m_scan(std::move(scan))
{
    setWindowTitle(LoadedText(kTitleId));
    resize(kInitialSize);

    const QStringList titles = document::ScanColumnTitles();
    m_table = new QTableWidget(0, static_cast<int>(titles.size()), this);
    SetControlId(m_table, kTableId);
    m_table->setHorizontalHeaderLabels(titles);
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);

    m_progress = new QProgressBar(this);
    SetControlId(m_progress, kProgressId);
    m_progress->setRange(0, transmitter::kScanAddressCount);
    m_status = new QLabel(this);
    SetControlId(m_status, kStatusId);

    auto* buttons = new QDialogButtonBox(this);
    m_stop = buttons->addButton(LoadedText(kStopId), QDialogButtonBox::ActionRole);
    SetControlId(m_stop, kStopId);
    m_store = new QCheckBox(LoadedText(kStoreId), this);
    SetControlId(m_store, kStoreId);
    m_use = buttons->addButton(LoadedText(kUseId), QDialogButtonBox::AcceptRole);
    SetControlId(m_use, kUseId);
    m_use->setEnabled(false);
    QPushButton* close = buttons->addButton(LoadedText(kCloseId), QDialogButtonBox::RejectRole);
    SetControlId(close, kCloseId);

    connect(m_stop, &QPushButton::clicked, this, [this] { m_cancel = true; });
    connect(m_use, &QPushButton::clicked, this, &CLineScanDialog::OnUse);
    connect(close, &QPushButton::clicked, this, &CLineScanDialog::reject);
    connect(m_table, &QTableWidget::itemSelectionChanged, this,
            &CLineScanDialog::OnSelectionChanged);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this] {
        if (m_use->isEnabled()) OnUse();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(m_progress);
    layout->addWidget(m_status);
    layout->addWidget(m_store);
    layout->addWidget(buttons);
}

bool CLineScanDialog::storeAddress() const { return m_store->isChecked(); }

void CLineScanDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_started) return;
    m_started = true;
    QTimer::singleShot(0, this, &CLineScanDialog::RunScan);
}

void CLineScanDialog::reject()
{
    // The scan ends at its next address; the dialog closes after it.
    if (m_scanning) {
        m_cancel = true;
        m_closeAfterScan = true;
        return;
    }
    QDialog::reject();
}

void CLineScanDialog::RunScan()
{
    m_scanning = true;
    m_stop->setEnabled(true);
    transmitter::ScanControl control;
    control.cancel = &m_cancel;
    control.progress = [this](int asked, int total) { ShowProgress(asked, total); };
    const transmitter::ScanResult result = m_scan(control);
    m_scanning = false;
    m_stop->setEnabled(false);
    ShowResult(result);
    if (m_closeAfterScan) QDialog::reject();
}

void CLineScanDialog::ShowProgress(int asked, int total)
{
    m_progress->setValue(asked);
    m_status->setText(document::ScanProgressText(asked, total));
    // Where the scan runs on this thread, the stop button is still heard between addresses.
    QCoreApplication::processEvents();
}

void CLineScanDialog::ShowResult(const transmitter::ScanResult& result)
{
    m_devices = result.devices;
    m_table->setRowCount(static_cast<int>(m_devices.size()));
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const document::FoundDeviceTexts texts =
            document::TextsOf(m_devices[static_cast<std::size_t>(row)]);
        const QString cells[] = {texts.address,  texts.manufacturer, texts.deviceType,
                                 texts.deviceId, texts.tag,          texts.configurable};
        for (int column = 0; column < m_table->columnCount(); ++column)
            m_table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    QString status = document::ScanSummary(m_devices.size());
    if (result.cancelled) status = LoadedText(kScanStoppedText) + QStringLiteral(". ") + status;
    m_status->setText(status);
}

void CLineScanDialog::OnSelectionChanged()
{
    const QList<QTableWidgetItem*> selected = m_table->selectedItems();
    const int row = selected.isEmpty() ? -1 : selected.first()->row();
    m_use->setEnabled(row >= 0 && m_devices[static_cast<std::size_t>(row)].configurable());
}

void CLineScanDialog::OnUse()
{
    const QList<QTableWidgetItem*> selected = m_table->selectedItems();
    if (selected.isEmpty()) return;
    m_chosen = m_devices[static_cast<std::size_t>(selected.first()->row())].pollingAddress;
    accept();
}
