#include "calibration/modal_answerer.h"

#include <chrono>

#include <QApplication>

ModalAnswerer::ModalAnswerer()
{
    m_timer.setInterval(std::chrono::milliseconds(10));
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::Poll);
    m_timer.start();
}

void ModalAnswerer::Expect(const char* className, Action action)
{
    m_expected.push_back({QString::fromLatin1(className), std::move(action)});
}

ModalAnswerer::Action ModalAnswerer::Accept()
{
    return [](QDialog& dialog) {
        dialog.accept();
        return true;
    };
}

ModalAnswerer::Action ModalAnswerer::Reject()
{
    return [](QDialog& dialog) {
        dialog.reject();
        return true;
    };
}

void ModalAnswerer::Poll()
{
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) return;
    const QString className = QString::fromLatin1(dialog->metaObject()->className());
    if (className == QLatin1String("CProgressDialog")) return;
    if (m_expected.empty() || m_expected.front().className != className) {
        m_unexpected << className;
        dialog->reject();
        return;
    }
    if (m_expected.front().action(*dialog)) m_expected.pop_front();
}
