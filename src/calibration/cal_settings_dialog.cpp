#include "calibration/cal_settings_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "controls/dialog_units.h"
#include "document/calibration_rules.h"
#include "document/display_text.h"
#include "document/value_format.h"
#include "resources/string_ids.h"

namespace {

enum ControlId {
    kUnitsId = 159,
    kUpperValueId = 161,
    kUpperUnitId = 162,
    kLowerValueId = 164,
    kLowerUnitId = 165,
    kLowerOnlyId = 1272,
    kBothPointsId = 1273,
};

constexpr int kFormWidth = 216;
constexpr int kFormHeight = 132;

using document::Utf8;

}  // namespace

CCalSettingsDialog::CCalSettingsDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(document::LoadedText(tarvel::kApplicationName));
    const DialogUnits units(font());
    setFixedSize(units.x(kFormWidth), units.y(kFormHeight));

    const auto label = [&](const QString& text, int x, int y, int width, int id) {
        auto* created = new QLabel(text, this);
        units.place(created, x, y, width, 10);
        if (id != 0) SetControlId(created, id);
        return created;
    };

    units.place(new QGroupBox(Utf8("Текущие настройки трансмиттера"), this), 7, 4, 202, 56);
    label(Utf8("Единицы измерения:"), 14, 17, 110, 0);
    m_unitsText = label({}, 126, 17, 30, kUnitsId);
    label(Utf8("Верхний предел диапазона:"), 14, 30, 110, 0);
    m_upperValue = label({}, 126, 30, 46, kUpperValueId);
    m_upperUnit = label({}, 174, 30, 28, kUpperUnitId);
    label(Utf8("Нижний предел диапазона:"), 14, 43, 110, 0);
    m_lowerValue = label({}, 126, 43, 46, kLowerValueId);
    m_lowerUnit = label({}, 174, 43, 28, kLowerUnitId);

    units.place(new QGroupBox(Utf8("Выбор типа калибровки"), this), 7, 64, 202, 42);
    m_lowerOnly = new QCheckBox(Utf8("Только нижняя точка калибровки "), this);
    units.place(m_lowerOnly, 14, 77, 188, 10);
    SetControlId(m_lowerOnly, kLowerOnlyId);
    m_bothPoints = new QCheckBox(Utf8("Нижняя и верхняя точки калибровки"), this);
    units.place(m_bothPoints, 14, 90, 188, 10);
    SetControlId(m_bothPoints, kBothPointsId);

    auto* ok = new QPushButton(Utf8("Продолжить"), this);
    units.place(ok, 87, 112, 58, 14);
    SetControlId(ok, kOkId);
    ok->setDefault(true);
    auto* cancel = new QPushButton(Utf8("Отмена"), this);
    units.place(cancel, 151, 112, 58, 14);
    SetControlId(cancel, kCancelId);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_lowerOnly, &QCheckBox::clicked, this, &CCalSettingsDialog::OnLowerOnlyClicked);
    connect(m_bothPoints, &QCheckBox::clicked, this, &CCalSettingsDialog::OnBothPointsClicked);
}

void CCalSettingsDialog::SetTransmitterSettings(std::int32_t unitsCode, float upperLimit,
                                                float lowerLimit)
{
    m_units = unitsCode;
    m_upperLimit = upperLimit;
    m_lowerLimit = lowerLimit;
}

void CCalSettingsDialog::SetCalibrationType(int type) { m_type = type; }

void CCalSettingsDialog::showEvent(QShowEvent* event)
{
    m_lowerOnly->setChecked(m_type == document::kLowerPointOnly);
    m_bothPoints->setChecked(m_type == document::kBothPoints);
    const QString unit = document::UnitText(m_units);
    m_unitsText->setText(unit);
    m_upperUnit->setText(unit);
    m_lowerUnit->setText(unit);
    m_upperValue->setText(document::FormatValue(m_upperLimit, 2));
    m_lowerValue->setText(document::FormatValue(m_lowerLimit, 2));
    QDialog::showEvent(event);
}

// The two boxes act as a pair of exclusive choices; clicking the checked one flips both.
void CCalSettingsDialog::OnLowerOnlyClicked()
{
    m_bothPoints->setChecked(!m_lowerOnly->isChecked());
    m_type = m_lowerOnly->isChecked() ? document::kLowerPointOnly : document::kBothPoints;
}

void CCalSettingsDialog::OnBothPointsClicked()
{
    m_lowerOnly->setChecked(!m_bothPoints->isChecked());
    m_type = m_bothPoints->isChecked() ? document::kBothPoints : document::kLowerPointOnly;
}
