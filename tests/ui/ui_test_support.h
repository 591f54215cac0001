// Helpers of the widget tests: a temporary installation with small sample data,
// screenshots, and running a modal dialog with a scripted reaction.
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class QDialog;
class QWidget;

namespace q {
class Interaction;
namespace ui {
class TAktienkurse;
}
}  // namespace q

namespace uitest {

// A temporary installation: Daten/ holds `securities` sample securities with one
// year of prices; the settings file is Quintara.conf beside it (absent at first).
class SampleHome {
public:
    explicit SampleHome(int securities = 5);
    QString home() const { return m_dir.path(); }
    QString data() const { return m_dir.filePath("Daten/"); }
    QString settings() const { return m_dir.filePath("Quintara.conf"); }
    bool ok() const { return m_ok; }

private:
    QTemporaryDir m_dir;
    bool m_ok = false;
};

// The main window on the sample home with these switches, shown, after the questions
// the first show asks (`ui` answers them).
std::unique_ptr<q::ui::TAktienkurse> startMainWindow(const SampleHome& home, q::Interaction& ui, const QStringList& switches = {});

// Saves the widget as <screenshots>/<name>.png.
void screenshot(QWidget& widget, const QString& name);

// Runs dialog.exec() while `react` acts on the shown dialog (then it must close it).
int execWith(QDialog& dialog, const std::function<void(QDialog&)>& react);

}  // namespace uitest

namespace uitest {
// Acts on the next modal dialog as soon as it is shown (the code under test opens
// it itself); `react` must close it.
void onNextModal(const std::function<void(QDialog&)>& react);
}  // namespace uitest
