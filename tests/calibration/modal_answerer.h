#pragma once

#include <deque>
#include <functional>

#include <QDialog>
#include <QObject>
#include <QStringList>
#include <QTimer>

// Answers the modal dialogs that a procedure opens, one scripted action per dialog, in the
// order they appear. An action is called again until it says it is done with its dialog,
// so it can wait for a condition first. The wait dialog closes itself and is left alone;
// any other dialog nobody expected is cancelled and recorded.
class ModalAnswerer : public QObject {
public:
    using Action = std::function<bool(QDialog&)>;

    ModalAnswerer();

    void Expect(const char* className, Action action);
    bool AllAnswered() const { return m_expected.empty(); }
    const QStringList& unexpected() const { return m_unexpected; }

    static Action Accept();
    static Action Reject();

private:
    void Poll();

    struct Expected {
        QString className;
        Action action;
    };
    std::deque<Expected> m_expected;
    QStringList m_unexpected;
    QTimer m_timer;
};
