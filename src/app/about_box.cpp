#include "app/about_box.h"

#include <algorithm>

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "app/hyper_link.h"
#include "app/transmitter_picture.h"
#include "controls/dialog_units.h"

namespace {

enum ControlId {
    kLinkId = 186,
    kVersionId = 188,
    kTitleId = 189,
    kMakerId = 190,
    kPictureId = 1242,
};

constexpr int kWidthDu = 239;
constexpr int kHeightDu = 140;
constexpr int kMarginDu = 7;
constexpr int kTextLeftDu = 112;

// The maker's line and web address.
const char* const kMakerName = "Изготовитель: Тарвел";
const char* const kMakerAddress = "https://www.tarvel.example/";

}  // namespace

QString CAboutDialog::VersionLine()
{
    return QString::fromUtf8("Версия: ") + QStringLiteral(TARVEL4410_VERSION);
}

CAboutDialog::CAboutDialog(hart::UserInteraction& ui, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("О программе..."));
    const DialogUnits du(font());

    auto* picture = new QLabel(this);
    SetControlId(picture, kPictureId);
    picture->setPixmap(QPixmap::fromImage(TransmitterPicture()));
    picture->move(du.x(kMarginDu), du.y(kMarginDu));
    picture->adjustSize();

    // The texts stand right of the picture, however large the dialog font makes a unit.
    const int textLeft =
        std::max(du.x(kTextLeftDu), picture->geometry().right() + 1 + du.x(kMarginDu));
    const int textWidth = du.x(kWidthDu - kTextLeftDu - kMarginDu);
    const auto placeText = [&](QLabel* label, int id, int topDu, int heightDu) {
        SetControlId(label, id);
        label->setGeometry(textLeft, du.y(topDu), textWidth, du.y(heightDu));
    };

    auto* title = new QLabel(QString::fromUtf8("Программа конфигурации Тарвел-4410"), this);
    title->setWordWrap(true);
    placeText(title, kTitleId, 10, 20);
    placeText(new QLabel(VersionLine(), this), kVersionId, 36, 8);
    placeText(new QLabel(QString::fromUtf8(kMakerName), this), kMakerId, 52, 8);

    auto* link = new CHyperLink(ui, this);
    placeText(link, kLinkId, 68, 8);
    link->Attach();
    link->SetURL(QString::fromUtf8(kMakerAddress));

    auto* ok = new QPushButton(QString::fromUtf8("Продолжить"), this);
    SetControlId(ok, kOkId);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    const int width = std::max(du.x(kWidthDu), textLeft + textWidth + du.x(kMarginDu));
    const int height = std::max(du.y(kHeightDu), picture->geometry().bottom() + 1 +
                                                     du.y(kMarginDu + 14 + kMarginDu));
    ok->setGeometry(width - du.x(kMarginDu + 56), height - du.y(kMarginDu + 14), du.x(56),
                    du.y(14));
    setFixedSize(width, height);
}
