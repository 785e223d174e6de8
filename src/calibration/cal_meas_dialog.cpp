#include "calibration/cal_meas_dialog.h"

#include <optional>

#include <QLabel>
#include <QPushButton>

#include "controls/dialog_units.h"
#include "document/calibration_messages.h"
#include "document/display_text.h"
#include "document/question_box.h"
#include "document/value_format.h"
#include "document/vesk_doc.h"
#include "resources/string_ids.h"

namespace {

enum ControlId {
    kValueId = 159,
    kUnitsId = 160,
    kExplanationId = 1267,
    kInterruptId = 1268,
    kWarningId = 1279,
    kValueLabelId = 1280,
    kReadId = 1342,
};

constexpr int kFormWidth = 250;
constexpr int kFormHeight = 156;

using document::Utf8;

}  // namespace

CCalMeasDialog::CCalMeasDialog(document::CVeskDoc& doc, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_transmitter(doc.ui(), doc.portSettings(), doc.sleeper())
{
    // Its frames belong in the session's trace as much as the document's.
    m_transmitter.attachTrace(doc.transmitter().traceSink());
    setWindowTitle(document::LoadedText(tarvel::kApplicationName));
    const DialogUnits units(font());
    setFixedSize(units.x(kFormWidth), units.y(kFormHeight));

    const auto label = [&](const QString& text, QRect r, int id) {
        auto* created = new QLabel(text, this);
        created->setWordWrap(r.height() > 10);
        units.place(created, r.x(), r.y(), r.width(), r.height());
        SetControlId(created, id);
        return created;
    };
    label(Utf8("ВНИМАНИЕ! Убедитесь, что температура преобразователя не изменяется в течение 30 "
               "секунд!"),
          QRect(7, 7, 236, 20), kWarningId);
    label(Utf8("Измеряемая величина:"), QRect(7, 33, 90, 10), kValueLabelId);
    m_valueText = label({}, QRect(100, 33, 56, 10), kValueId);
    m_unitsText = label({}, QRect(158, 33, 30, 10), kUnitsId);
    label(Utf8("На экране отображается выходное значение температуры, измеренной преобразователем. "
               "После достижения режима стабилизации, введите истинное значение измеряемого "
               "параметра."),
          QRect(7, 49, 236, 38), kExplanationId);
    label(Utf8("Вы можете прервать сбор данных в любой момент, для этого нажмите кнопку "
               "\"Продолжить\". "
               "В открывшемся поле введите значение."),
          QRect(7, 91, 236, 30), kInterruptId);

    auto* read = new QPushButton(Utf8("Прочитать данные"), this);
    units.place(read, 7, 134, 74, 15);
    SetControlId(read, kReadId);
    auto* ok = new QPushButton(Utf8("Продолжить"), this);
    units.place(ok, 87, 134, 66, 15);
    SetControlId(ok, kOkId);
    auto* cancel = new QPushButton(Utf8("Отмена калибровки"), this);
    units.place(cancel, 159, 134, 84, 15);
    SetControlId(cancel, kCancelId);

    connect(read, &QPushButton::clicked, this, &CCalMeasDialog::ReadMeasurement);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CCalMeasDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_readOnOpening) return;
    m_readOnOpening = false;
    // Once the dialog is on the screen, so that a question about the search has its owner.
    QMetaObject::invokeMethod(this, &CCalMeasDialog::ReadMeasurement, Qt::QueuedConnection);
}

void CCalMeasDialog::ReadMeasurement()
{
    const auto read = [this]() -> std::optional<transmitter::MeasuredValue> {
        // The document's transmitter may still hold the port after a failed exchange; both
        // objects use the same modem, which only one may have open.
        m_doc.transmitter().ClosePort();
        m_doc.ShowWait();
        while (!m_transmitter.Identify()) {
            if (document::AskQuestion(m_doc, tarvel::kMessageNotFound,
                                      document::kRetryCancelError) != document::IDRETRY) {
                m_doc.RestoreCursor();
                return std::nullopt;
            }
        }
        const transmitter::MeasuredValue measured = m_transmitter.ReadMeasuredValue();
        m_doc.RestoreCursor();
        return measured;
    };
    // Its buttons wait for the read: the procedure goes on only with the read ended.
    setEnabled(false);
    const std::optional<std::optional<transmitter::MeasuredValue>> measured =
        document::RunCommand(m_doc.commands(), document::Cancel::NotAllowed, read);
    setEnabled(true);
    if (!measured || !*measured) return;
    m_units = (*measured)->units;
    m_value = (*measured)->value;
    m_unitsText->setText(document::UnitText(m_units));
    m_valueText->setText(document::FormatValue(m_value, 2));
}
