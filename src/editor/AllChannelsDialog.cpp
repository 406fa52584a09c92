#include "AllChannelsDialog.h"

#include "CutMarkLineEdit.h"

#include "platform/FontDialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AllChannelsDialog::AllChannelsDialog(const Choice &start, FontDialogs &fontDialogs, Make make, QWidget *parent)
    : QDialog(parent), m_fontDialogs(fontDialogs), m_make(std::move(make)), m_font(start.font)
{
    setObjectName(QStringLiteral("AllChannelsDialog"));
    setWindowTitle(QStringLiteral("全チャンネル作成"));
    auto *layout = new QVBoxLayout(this);
    auto *hint = new QLabel(QStringLiteral("空欄のチャンネルはそのまま残ります。"), this);
    layout->addWidget(hint);

    auto *form = new QFormLayout;
    for (int ch = 0; ch < Title::Channels; ++ch) {
        CutMarkLineEdit *text = texts[size_t(ch)] = new CutMarkLineEdit(this);
        text->setText(start.texts[size_t(ch)]);
        text->setObjectName(QStringLiteral("text%1").arg(ch + 1));
        text->setMinimumWidth(320);
        QLabel *counter = counters[size_t(ch)] = new QLabel(this);
        counter->setObjectName(QStringLiteral("counter%1").arg(ch + 1));
        counter->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        counter->setMinimumWidth(counter->fontMetrics().horizontalAdvance(QStringLiteral("000/25")) + 4);
        auto *row = new QHBoxLayout;
        row->addWidget(text, 1);
        row->addWidget(counter);
        auto *label = new QLabel(QStringLiteral("CH&%1").arg(ch + 1), this);
        label->setBuddy(text);
        form->addRow(label, row);
        connect(text, &QLineEdit::textChanged, this, [this, ch] { showFit(ch); });
    }
    layout->addLayout(form);

    auto *fontRow = new QHBoxLayout;
    fontButton = new QPushButton(QStringLiteral("フォント設定(&F)"), this);
    fontLabel = new QLabel(this);
    edgingCheck = new QCheckBox(QStringLiteral("縁取(&E)"), this);
    edgingCheck->setChecked(start.edging);
    fontRow->addWidget(fontButton);
    fontRow->addWidget(fontLabel, 1);
    fontRow->addWidget(edgingCheck);
    layout->addLayout(fontRow);

    auto *buttons = new QDialogButtonBox(this);
    okButton = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    cancelButton = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    okButton->setDefault(true);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &AllChannelsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &AllChannelsDialog::reject);
    connect(fontButton, &QPushButton::clicked, this, &AllChannelsDialog::chooseFont);
    showFont();
    texts[0]->setFocus();
}

void AllChannelsDialog::showFit(int channel)
{
    texts[size_t(channel)]->showFit(m_font, *counters[size_t(channel)]);
}

AllChannelsDialog::Choice AllChannelsDialog::choice() const
{
    Choice choice;
    for (int ch = 0; ch < Title::Channels; ++ch)
        choice.texts[size_t(ch)] = texts[size_t(ch)]->text();
    choice.font = m_font;
    choice.edging = edgingCheck->isChecked();
    return choice;
}

void AllChannelsDialog::accept()
{
    const int refused = m_make(choice());
    if (refused >= 0) {
        // The operator mends that text and tries again.
        texts[size_t(refused)]->setFocus();
        texts[size_t(refused)]->selectAll();
        return;
    }
    QDialog::accept();
}

void AllChannelsDialog::chooseFont()
{
    const std::optional<QFont> chosen = m_fontDialogs.chooseFont(this, m_font, QStringLiteral("フォント"));
    if (!chosen)
        return;
    m_font = *chosen;
    showFont();
}

void AllChannelsDialog::showFont()
{
    const QString size = m_font.pointSizeF() > 0 ? QString::number(m_font.pointSizeF()) + QStringLiteral("pt")
                                                 : QString::number(m_font.pixelSize()) + QStringLiteral("px");
    fontLabel->setText(m_font.family() + QLatin1Char(' ') + size + (m_font.bold() ? QStringLiteral(" 太字") : QString()));
    // The texts are made in this font, so it decides where they are cut.
    for (int ch = 0; ch < Title::Channels; ++ch)
        showFit(ch);
}
