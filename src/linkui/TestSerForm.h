#pragma once

#include <QWidget>

#include <array>
#include <functional>

struct TitleData;
class QPushButton;
class QRadioButton;
class SerForm;

// TestSerForm ("serial test form") "Comポート設定": picks the serial port (1..8) of the communication window
// and applies it to the window's serial control at once. Created for each
// showing; "OK" and the close box destroy it.
class TestSerForm : public QWidget
{
    Q_OBJECT
public:
    // `serialControl` returns the communication window, creating it hidden
    // if it does not exist yet.
    TestSerForm(TitleData &data, std::function<SerForm &()> serialControl, QWidget *owner);

    std::array<QRadioButton *, 8> portOptions{};
    QPushButton *okButton = nullptr; // OK

signals:
    // "OK": the dialog is closing; show the communication window.
    void portConfirmed();

private:
    void Form_Load();
    void choosePort(int index);
    void confirm();

    TitleData &m_data;
    std::function<SerForm &()> m_serialControl;
};
