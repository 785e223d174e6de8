#include "diagnostics/trace_model.h"

#include "document/display_text.h"
#include "hart/trace_format.h"
#include "resources/string_ids/diagnostics.h"
#include "resources/string_ids/hart.h"

namespace diagnostics {
namespace {

using tarvel::kTraceFirstColumnHeader;
using tarvel::kTracePreambles;

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TraceModel::TraceModel(std::chrono::steady_clock::time_point start, QObject* parent)
    : QAbstractTableModel(parent), m_start(start)
{
}

int TraceModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TraceModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant TraceModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const TraceRow& r = row(index.row());
    if (role == Qt::ToolTipRole && index.column() >= kStatus) return data(index, Qt::DisplayRole);
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
    case kTime: return r.time;
    case kDirection: return QString(r.direction);
    case kCommand: return r.command;
    case kStatus: return r.status;
    case kBytes: return r.bytes;
    case kMeaning: return r.meaning;
    default: return {};
    }
}

QVariant TraceModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || section >= kColumnCount) return {};
    return document::LoadedText(kTraceFirstColumnHeader + section);
}

TraceRow TraceModel::describe(const hart::TraceEvent& event) const
{
    const hart::DescribedEvent described = hart::DescribeEvent(event);
    TraceRow r;
    r.time = Utf8(hart::TraceTime(event.time - m_start));
    r.direction = QChar(described.direction);
    r.line = Utf8(hart::TraceLine(event.time - m_start, described));
    if (described.direction == '!') {
        r.meaning = Utf8(described.text);
        r.details = QStringList{r.meaning};
        return r;
    }
    const hart::DecodedFrame& frame = described.decoded;
    r.command = Utf8(frame.commandName);
    r.status = Utf8(frame.shortStatus);
    r.bytes = Utf8(described.bytes);
    // The table's other columns already show the command and the status.
    QStringList data;
    for (const auto& field : frame.fields) data << Utf8(field.name + " " + field.value);
    if (!frame.problem.empty()) data << Utf8(frame.problem);
    if (event.kind == hart::TraceKind::Request)
        data << document::LoadedText(kTracePreambles) + QStringLiteral(" ") +
                    QString::number(event.value);
    r.meaning = data.join(QStringLiteral(", "));
    r.details << r.command;
    if (!frame.status.empty()) r.details << Utf8(frame.status);
    for (const auto& field : frame.fields) r.details << Utf8(field.name + ": " + field.value);
    if (!frame.problem.empty()) r.details << Utf8(frame.problem);
    r.details << r.bytes;
    return r;
}

void TraceModel::append(const std::vector<hart::TraceEvent>& events)
{
    if (events.empty()) return;
    // Only the newest kCapacity of this batch can stay.
    const std::size_t skip =
        events.size() > kCapacity ? events.size() - static_cast<std::size_t>(kCapacity) : 0;
    const std::size_t adding = events.size() - skip;
    const std::size_t overflow =
        m_rows.size() + adding > kCapacity ? m_rows.size() + adding - kCapacity : 0;
    if (overflow > 0) {
        beginRemoveRows({}, 0, static_cast<int>(overflow) - 1);
        m_rows.erase(m_rows.begin(), m_rows.begin() + static_cast<std::ptrdiff_t>(overflow));
        endRemoveRows();
    }
    const int first = static_cast<int>(m_rows.size());
    beginInsertRows({}, first, first + static_cast<int>(adding) - 1);
    for (std::size_t i = skip; i < events.size(); ++i) m_rows.push_back(describe(events[i]));
    endInsertRows();
}

void TraceModel::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

}  // namespace diagnostics
