#include "diagnostics/trace_window.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "diagnostics/trace_log.h"
#include "diagnostics/window_fit.h"
#include "document/display_text.h"
#include "document/whole_file.h"
#include "hart/user_interaction.h"
#include "resources/string_ids/diagnostics.h"

namespace diagnostics {
namespace {

using tarvel::kTraceCannotSave;
using tarvel::kTraceClear;
using tarvel::kTraceFollow;
using tarvel::kTracePause;
using tarvel::kTraceSaveAsText;
using tarvel::kTraceTextFiles;
using tarvel::kTraceWindowTitle;

constexpr QSize kPreferredSize{1200, 640};

QString Text(int id) { return document::LoadedText(id); }

}  // namespace

TraceWindow::TraceWindow(TraceLog& log, hart::UserInteraction& ui, QWidget* parent)
    : QWidget(parent, Qt::Window), m_log(log), m_ui(ui)
{
    setWindowTitle(Text(kTraceWindowTitle));
    setAttribute(Qt::WA_DeleteOnClose, false);

    m_table = new QTableView;
    m_table->setModel(&log.model());
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setStretchLastSection(true);
    const QFontMetrics metrics = m_table->fontMetrics();
    const auto widthOf = [&metrics](const QString& sample) {
        return metrics.horizontalAdvance(sample) + 16;
    };
    m_table->setColumnWidth(TraceModel::kTime, widthOf(QStringLiteral("00:00:00.000")));
    m_table->setColumnWidth(
        TraceModel::kDirection,
        widthOf(log.model()
                    .headerData(TraceModel::kDirection, Qt::Horizontal, Qt::DisplayRole)
                    .toString()));
    // A usual command name; a longer one, a long status or frame is elided, its tooltip shows it
    // all.
    m_table->setColumnWidth(TraceModel::kCommand, widthOf(QStringLiteral("000 ") + Text(2207)));
    m_table->setColumnWidth(TraceModel::kStatus, widthOf(Text(1022) + QStringLiteral(" 32")));
    m_table->setColumnWidth(TraceModel::kBytes, widthOf(QString(3 * 12, QChar('0'))));

    m_details = new QPlainTextEdit;
    m_details->setReadOnly(true);

    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(m_table);
    splitter->addWidget(m_details);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);

    m_save = new QPushButton(Text(kTraceSaveAsText));
    m_clear = new QPushButton(Text(kTraceClear));
    m_pause = new QPushButton(Text(kTracePause));
    m_pause->setCheckable(true);
    m_follow = new QCheckBox(Text(kTraceFollow));
    m_follow->setChecked(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_save);
    buttons->addWidget(m_clear);
    buttons->addWidget(m_pause);
    buttons->addWidget(m_follow);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    layout->addLayout(buttons);

    chooseFileToSave = [this] {
        return QFileDialog::getSaveFileName(this, Text(kTraceSaveAsText), QString(),
                                            Text(kTraceTextFiles));
    };

    connect(m_save, &QPushButton::clicked, this, [this] {
        const QString path = chooseFileToSave();
        if (!path.isEmpty()) SaveAsText(path);
    });
    connect(m_clear, &QPushButton::clicked, this, [this] {
        m_log.model().clear();
        m_details->clear();
    });
    connect(m_pause, &QPushButton::toggled, this, [this](bool paused) { m_log.setPaused(paused); });
    connect(m_follow, &QCheckBox::toggled, this, [this](bool on) {
        if (on) m_table->scrollToBottom();
    });
    connect(&log.model(), &QAbstractItemModel::rowsInserted, this, &TraceWindow::FollowTheEnd);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TraceWindow::ShowDetails);

    m_pause->setChecked(log.paused());
    OpenInsideScreen(*this, kPreferredSize);
}

void TraceWindow::FollowTheEnd()
{
    if (m_follow->isChecked()) m_table->scrollToBottom();
}

void TraceWindow::ShowDetails()
{
    const QModelIndex current = m_table->currentIndex();
    if (!current.isValid()) {
        m_details->clear();
        return;
    }
    const TraceRow& row = m_log.model().row(current.row());
    m_details->setPlainText(row.time + QStringLiteral(" ") + row.direction + QStringLiteral("\n") +
                            row.details.join('\n'));
}

bool TraceWindow::SaveAsText(const QString& path)
{
    QByteArray text = QByteArray::fromStdString(m_log.startLine()) + '\n';
    const TraceModel& model = m_log.model();
    for (int i = 0; i < model.rowCount(); ++i) text += model.row(i).line.toUtf8() + '\n';
    const QString error = document::WriteWholeFile(path, text);
    if (error.isEmpty()) return true;
    m_ui.notify(kTraceCannotSave,
                (Text(kTraceCannotSave) + path + QStringLiteral(": ") + error).toStdString(),
                hart::MessageIcon::Error);
    return false;
}

}  // namespace diagnostics
