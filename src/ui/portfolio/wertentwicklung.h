// The value development window "Wertentwicklung": a slider for a trial price and the
// two lines of what the held shares would gain there. Shown beside the main window
// without blocking it; the quote overview feeds it whenever it shows a security.
#pragma once

#include <QWidget>

class QLabel;
class QSlider;

namespace q::ui {

class Wertentwicklung final : public QWidget {
    Q_OBJECT
public:
    explicit Wertentwicklung(QWidget* parent);

    // The security's caption (FirmenName + " Gewinnberechnung"), shares, mean buy
    // price, current price and the slider's position.
    void setSecurity(const QString& caption, double shares, double meanBuy, double current, int position);
    // A new current price; the lines follow.
    void setCurrentPrice(double current);

    QSlider* slider() const { return m_slider; }
    QLabel* gainLine() const { return m_gainLabel; }
    QLabel* currentLine() const { return m_currentLabel; }

private:
    void showLines(int position);

    double m_shares = 0;
    double m_meanBuy = 0;
    double m_current = 0;
    QSlider* m_slider;
    QLabel* m_gainLabel;
    QLabel* m_currentLabel;
};

}  // namespace q::ui
