#include "ui_test_support.h"

#include "app/command_line.h"
#include "sample/sample_data.h"
#include "ui/main_window.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QTimer>
#include <QWidget>

namespace uitest {

SampleHome::SampleHome(int securities) {
    q::sample::Plan plan;
    plan.securities = securities;
    plan.years = 1;
    q::NoProgress none;
    m_ok = q::sample::writeSampleData(data(), plan, none).isOk();
}

std::unique_ptr<q::ui::TAktienkurse> startMainWindow(const SampleHome& home, q::Interaction& ui, const QStringList& switches) {
    q::StartOptions options;
    options.homeDir = home.home();
    options.settingsPath = home.settings();
    auto w = std::make_unique<q::ui::TAktienkurse>(options, q::parseCommandLine(switches), &ui);
    w->show();
    // The questions after showing come from a zero timer.
    QCoreApplication::processEvents();
    return w;
}

void screenshot(QWidget& widget, const QString& name) {
    QDir().mkpath(QStringLiteral(QUINTARA_SCREENSHOTS));
    widget.grab().save(QStringLiteral(QUINTARA_SCREENSHOTS "/%1.png").arg(name));
}

int execWith(QDialog& dialog, const std::function<void(QDialog&)>& react) {
    QTimer::singleShot(0, &dialog, [&] { react(dialog); });
    return dialog.exec();
}

}  // namespace uitest

#include <QApplication>

namespace uitest {

void onNextModal(const std::function<void(QDialog&)>& react) {
    auto* timer = new QTimer;
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, [timer, react] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        timer->stop();
        timer->deleteLater();
        react(*dialog);
    });
    timer->start();
}

}  // namespace uitest
