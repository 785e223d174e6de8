// The link of the about box: address and text, fitting to the text, colours after a click
// and the message when the address cannot be opened.
#include <string>

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include "app/hyper_link.h"
#include "document/display_text.h"
#include "support/scripted_user.h"

namespace {

using document::LoadedText;

// Also keeps the style word of every question.
class RecordingUser : public ScriptedUser {
public:
    int ask(int messageId, const std::string& text, int style) override
    {
        styles.push_back(style);
        return ScriptedUser::ask(messageId, text, style);
    }
    std::vector<int> styles;
};

TEST(HyperlinkFailureTextTest, EveryCodeWithItsOwnTextAndTheRestAsUnknown)
{
    const struct {
        int code;
        int stringId;
    } known[] = {{0, 911},  {2, 913},  {3, 912},  {5, 915},  {8, 922},  {11, 914}, {26, 923},
                 {27, 916}, {28, 919}, {29, 918}, {30, 917}, {31, 921}, {32, 920}};
    for (const auto& c : known) {
        SCOPED_TRACE(c.code);
        EXPECT_FALSE(LoadedText(c.stringId).isEmpty());
        EXPECT_EQ(HyperlinkFailureText(c.code), LoadedText(925) + LoadedText(c.stringId));
    }
    EXPECT_EQ(HyperlinkFailureText(4),
              QString::fromUtf8("Невозможно открыть гиперссылку:\n\nНеизвестная ошибка (4)"));
    EXPECT_EQ(HyperlinkFailureText(-7),
              LoadedText(925) + QString::fromUtf8("Неизвестная ошибка (-7)"));
}

class HyperLinkTest : public testing::Test {
protected:
    HyperLinkTest() { form.resize(400, 200); }

    CHyperLink* placedLink(const QString& text, Qt::Alignment alignment, QRect area)
    {
        auto* link = new CHyperLink(user, &form);
        link->setText(text);
        link->setAlignment(alignment);
        link->setGeometry(area);
        return link;
    }
    // What the label itself says its text needs.
    static QSize textSize(const CHyperLink& link) { return link.sizeHint(); }

    RecordingUser user;
    QWidget form;
};

TEST_F(HyperLinkTest, EmptyTextShowsTheAddressAndFitsToIt)
{
    auto* link = placedLink(QString(), Qt::AlignLeft | Qt::AlignTop, QRect(10, 20, 300, 40));
    link->SetURL(QStringLiteral("https://example.org/"));
    link->Attach();
    EXPECT_EQ(link->text(), QStringLiteral("https://example.org/"));
    EXPECT_EQ(link->geometry(), QRect(QPoint(10, 20), textSize(*link)));
    EXPECT_EQ(link->toolTip(), QStringLiteral("https://example.org/"));
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(HyperLinkTest, AddressIsTakenFromTheTextWhenNoneWasSet)
{
    auto* link = placedLink(QStringLiteral("example.org"), Qt::AlignLeft | Qt::AlignTop,
                            QRect(0, 0, 300, 40));
    link->Attach();
    EXPECT_EQ(link->url(), QStringLiteral("example.org"));
    EXPECT_EQ(link->toolTip(), QStringLiteral("example.org"));
}

TEST_F(HyperLinkTest, SetUrlKeepsTheTextAndUpdatesTheTooltip)
{
    auto* link =
        placedLink(QStringLiteral("Наш сайт"), Qt::AlignLeft | Qt::AlignTop, QRect(0, 0, 300, 40));
    link->Attach();
    link->SetURL(QStringLiteral("https://example.org/"));
    EXPECT_EQ(link->text(), QString::fromUtf8("Наш сайт"));
    EXPECT_EQ(link->url(), QStringLiteral("https://example.org/"));
    EXPECT_EQ(link->toolTip(), QStringLiteral("https://example.org/"));
}

TEST_F(HyperLinkTest, FitsToTextAccordingToItsAlignment)
{
    const QRect area(40, 30, 300, 41);
    const struct {
        Qt::Alignment alignment;
        const char* name;
    } cases[] = {
        {Qt::AlignLeft | Qt::AlignTop, "left"},
        {Qt::AlignRight | Qt::AlignTop, "right"},
        {Qt::AlignHCenter | Qt::AlignTop, "centre"},
        {Qt::AlignLeft | Qt::AlignVCenter, "vertical centre"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto* link = placedLink(QStringLiteral("https://example.org/"), c.alignment, area);
        link->Attach();
        const QSize size = textSize(*link);
        const QRect fitted = link->geometry();
        EXPECT_EQ(fitted.size(), size);
        const int expectedLeft = (c.alignment & Qt::AlignRight) ? area.right() + 1 - size.width()
                                 : (c.alignment & Qt::AlignHCenter)
                                     ? area.left() + (area.width() - size.width()) / 2
                                     : area.left();
        const int expectedTop = (c.alignment & Qt::AlignVCenter)
                                    ? area.top() + (area.height() - size.height()) / 2
                                    : area.top();
        EXPECT_EQ(fitted.topLeft(), QPoint(expectedLeft, expectedTop));
        delete link;
    }
}

TEST_F(HyperLinkTest, OpenedAddressTurnsTheLinkPurple)
{
    auto* link = placedLink(QStringLiteral("example.org"), Qt::AlignLeft | Qt::AlignTop,
                            QRect(0, 0, 300, 40));
    link->Attach();
    EXPECT_EQ(link->palette().color(QPalette::WindowText), CHyperLink::kLinkColor);
    EXPECT_TRUE(link->font().underline());

    QUrl opened;
    link->SetOpener([&opened](const QUrl& url) -> std::optional<int> {
        opened = url;
        return std::nullopt;
    });
    form.show();
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(opened, QUrl(QStringLiteral("http://example.org")));
    EXPECT_TRUE(link->visited());
    EXPECT_EQ(link->palette().color(QPalette::WindowText), CHyperLink::kVisitedColor);
    EXPECT_TRUE(user.questions.empty());
}

TEST_F(HyperLinkTest, FailedOpenIsReportedAndDrawsTheLinkColourAgain)
{
    auto* link = placedLink(QStringLiteral("https://example.org/"), Qt::AlignLeft | Qt::AlignTop,
                            QRect(0, 0, 300, 40));
    link->Attach();
    std::optional<int> failure;
    link->SetOpener([&failure](const QUrl&) { return failure; });
    form.show();

    QTest::mouseClick(link, Qt::LeftButton);
    ASSERT_TRUE(link->visited());

    failure = 4;
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_FALSE(link->visited());
    EXPECT_EQ(link->palette().color(QPalette::WindowText), CHyperLink::kLinkColor);
    ASSERT_EQ(user.questions.size(), 1u);
    EXPECT_EQ(user.questions[0].id, 925);
    EXPECT_EQ(QString::fromStdString(user.questions[0].text), HyperlinkFailureText(4));
    EXPECT_EQ(user.styles, std::vector<int>{48});
}

TEST_F(HyperLinkTest, OnlyALeftClickInsideOpens)
{
    auto* link = placedLink(QStringLiteral("https://example.org/"), Qt::AlignLeft | Qt::AlignTop,
                            QRect(0, 0, 300, 40));
    link->Attach();
    int opens = 0;
    link->SetOpener([&opens](const QUrl&) -> std::optional<int> {
        ++opens;
        return std::nullopt;
    });
    form.show();
    QTest::mouseClick(link, Qt::RightButton);
    QTest::mousePress(link, Qt::LeftButton);
    QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(link->width() + 5, 2));  // dragged off it
    EXPECT_EQ(opens, 0);
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(opens, 1);
}

}  // namespace
