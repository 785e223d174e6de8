#include "app/hyper_link.h"

#include <array>

#include <QDesktopServices>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QProcess>

#include "document/display_text.h"
#include "document/question_box.h"
#include "resources/string_ids/app.h"

namespace {

using document::LoadedText;

using tarvel::kCannotOpenHyperlink;
using tarvel::kUnknownHyperlinkError;
// The desktop says only that it failed; the likeliest cause is that no program handles
// the address.
constexpr int kNoAssociatedApplication = 31;

struct FailureString {
    int failureCode;
    int stringId;
};

constexpr std::array kFailureStrings = {
    FailureString{0, 911},  FailureString{2, 913},  FailureString{3, 912},  FailureString{5, 915},
    FailureString{8, 922},  FailureString{11, 914}, FailureString{26, 923}, FailureString{27, 916},
    FailureString{28, 919}, FailureString{29, 918}, FailureString{30, 917}, FailureString{31, 921},
    FailureString{32, 920},
};

}  // namespace

std::optional<int> OpenWithDesktop(const QUrl& address)
{
    if (QDesktopServices::openUrl(address)) return std::nullopt;
    // The fallback: the desktop's browser command, as the user or the system names it.
    QStringList browsers = qEnvironmentVariable("BROWSER").split(':', Qt::SkipEmptyParts);
    browsers << QStringLiteral("x-www-browser") << QStringLiteral("sensible-browser")
             << QStringLiteral("xdg-open");
    for (const QString& browser : browsers)
        if (QProcess::startDetached(browser, {address.toString()})) return std::nullopt;
    return kNoAssociatedApplication;
}

QString HyperlinkFailureText(int failureCode)
{
    for (const FailureString& entry : kFailureStrings)
        if (entry.failureCode == failureCode)
            return LoadedText(kCannotOpenHyperlink) + LoadedText(entry.stringId);
    return LoadedText(kCannotOpenHyperlink) +
           QStringLiteral("%1 (%2)").arg(LoadedText(kUnknownHyperlinkError)).arg(failureCode);
}

CHyperLink::CHyperLink(hart::UserInteraction& ui, QWidget* parent)
    : QLabel(parent), m_ui(ui), m_opener(OpenWithDesktop)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    UpdateAppearance();
}

void CHyperLink::Attach()
{
    if (m_url.isEmpty()) m_url = text();
    ShowAddressIfNoText();
    FitToText();
    setCursor(Qt::PointingHandCursor);
    setToolTip(m_url);
}

void CHyperLink::SetURL(const QString& address)
{
    m_url = address;
    ShowAddressIfNoText();
    FitToText();
    setToolTip(m_url);
}

void CHyperLink::ShowAddressIfNoText()
{
    if (text().isEmpty()) setText(m_url);
}

void CHyperLink::FitToText()
{
    if (!m_fitToText) return;
    const QSize textSize =
        QFontMetrics(font()).boundingRect(QRect(), Qt::TextSingleLine, text()).size();
    const int textWidth = textSize.width();
    const int textHeight = textSize.height();
    QRect area = geometry();

    if (alignment() & Qt::AlignVCenter) area.setTop(area.top() + (area.height() - textHeight) / 2);
    area.setHeight(textHeight);

    if (alignment() & Qt::AlignHCenter) {
        area.setLeft(area.left() + (area.width() - textWidth) / 2);
        area.setWidth(textWidth);
    } else if (alignment() & Qt::AlignRight) {
        area.setLeft(area.right() + 1 - textWidth);
    } else {
        area.setWidth(textWidth);
    }
    setGeometry(area);
}

void CHyperLink::UpdateAppearance()
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, m_visited ? kVisitedColor : kLinkColor);
    setPalette(colours);
    QFont underlined = font();
    underlined.setUnderline(m_underline);
    setFont(underlined);
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        OnClicked();
    QLabel::mouseReleaseEvent(event);
}

void CHyperLink::OnClicked()
{
    const std::optional<int> failure = m_opener(QUrl::fromUserInput(m_url));
    m_visited = !failure.has_value();
    UpdateAppearance();
    if (failure)
        m_ui.ask(kCannotOpenHyperlink, HyperlinkFailureText(*failure).toStdString(),
                 document::MB_ICONWARNING);
}
