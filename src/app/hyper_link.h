#pragma once

#include <functional>
#include <optional>

#include <QColor>
#include <QLabel>
#include <QUrl>

#include "hart/user_interaction.h"

// A static text that opens a web address when clicked: blue and underlined, purple once
// the address opened, with the hand cursor and the address as its tooltip.
class CHyperLink : public QLabel {
    Q_OBJECT

public:
    // Opens the address; returns the shell's failure code (32 or less) when it could not.
    using UrlOpener = std::function<std::optional<int>(const QUrl&)>;

    static constexpr QColor kLinkColor{0, 0, 238};
    static constexpr QColor kVisitedColor{85, 26, 139};

    explicit CHyperLink(hart::UserInteraction& ui, QWidget* parent = nullptr);

    // Call once the form has placed the control: an empty address is taken from the text,
    // an empty text shows the address; the control then fits its text.
    void Attach();
    void SetURL(const QString& address);
    void SetOpener(UrlOpener opener) { m_opener = std::move(opener); }

    QString url() const { return m_url; }
    bool visited() const { return m_visited; }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void OnClicked();
    void ShowAddressIfNoText();
    void FitToText();
    void UpdateAppearance();

    hart::UserInteraction& m_ui;
    UrlOpener m_opener;
    QString m_url;
    bool m_visited = false;
    bool m_underline = true;
    bool m_fitToText = true;
};

// The default opener: the desktop's handler for the address (xdg-open and its kin).
std::optional<int> OpenWithDesktop(const QUrl& address);

// What the person is told when the address could not be opened (string 925 and the
// text for the failure code).
QString HyperlinkFailureText(int failureCode);
