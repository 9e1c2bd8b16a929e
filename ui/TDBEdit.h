#pragma once

// An edit box bound to one column of the row a data source follows. It shows
// the field's value, hands what the operator types to the field, and is read
// only while the row is not being edited.

#include <QLineEdit>
#include <memory>
#include <string>

#include "TDataSource.h"

class TDBEdit : public QLineEdit {
    Q_OBJECT
    // The column, set from the form description.
    Q_PROPERTY(QString dataField READ DataField WRITE SetDataField)

public:
    explicit TDBEdit(QWidget* parent = nullptr);
    ~TDBEdit() override;

    QString DataField() const { return dataField_; }
    void SetDataField(const QString& campo);

    // Binds the box to `fonte`, which must outlive the binding (or call Desligar).
    void Ligar(rotulos::TDataSource& fonte);
    void Desligar();

    // The text as shown, in the table's 8-bit code page.
    std::string TextoBruto() const;

signals:
    // The field refused what was typed for a reason other than the code page;
    // the box shows the stored value again.
    void Falha(const QString& mensagem);

private:
    void Atualizar();
    void AoEditar(const QString& texto);

    QString dataField_;
    rotulos::TDataSource* fonte_ = nullptr;
    std::unique_ptr<rotulos::TFieldDataLink> link_;
};
