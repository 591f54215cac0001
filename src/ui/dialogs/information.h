// About box (TInformation): the program's name and version text.
#pragma once

#include <QDialog>

namespace q::ui {

// The version text the about box shows.
QString versionText();

class TInformation final : public QDialog {
    Q_OBJECT
public:
    explicit TInformation(QWidget* owner);
};

}  // namespace q::ui
