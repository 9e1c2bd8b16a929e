#pragma once

// A framed group of radio buttons, one per item, laid out in columns; exactly
// one item is chosen once ItemIndex is set.

#include <QButtonGroup>
#include <QGroupBox>
#include <QList>
#include <QRadioButton>
#include <QStringList>

class TRadioGroup : public QGroupBox {
    Q_OBJECT
    Q_PROPERTY(QStringList items READ Items WRITE SetItems)
    Q_PROPERTY(int columns READ Columns WRITE SetColumns)
    Q_PROPERTY(int itemIndex READ ItemIndex WRITE SetItemIndex NOTIFY Click)

public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    QStringList Items() const { return items_; }
    void SetItems(const QStringList& items);
    int Columns() const { return columns_; }
    void SetColumns(int columns);
    // -1 when nothing is chosen.
    int ItemIndex() const;
    void SetItemIndex(int indice);

    QRadioButton* Botao(int indice) const { return botoes_.value(indice); }

signals:
    // The chosen item changed, by the operator or by SetItemIndex.
    void Click();

protected:
    void resizeEvent(QResizeEvent* evento) override;
    void changeEvent(QEvent* evento) override;

private:
    void Organizar();

    QStringList items_;
    int columns_ = 1;
    int indicePedido_ = -1;
    QButtonGroup grupo_;
    QList<QRadioButton*> botoes_;
};
