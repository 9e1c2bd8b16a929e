#pragma once

// The window's controls without a toolkit: each holds what the operator sees
// of it (caption, text, choice, enabled) and takes what the operator does
// (a click, a choice, typing). A shell draws each with a native widget from
// its description, renders it again whenever AoMudar is called, and passes
// the operator's actions in; what a control does with them is decided here,
// once, for every shell.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "DescricaoJanela.h"
#include "TDataSource.h"

namespace rotulos::form {

class TForm;

class TControl {
public:
    TControl(TForm& dono, std::string_view nome);
    virtual ~TControl() = default;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    const DescricaoControle& Descricao() const { return descricao_; }
    std::string_view Name() const { return descricao_.nome; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    // Set by the shell: called whenever anything it shows of the control changed.
    std::function<void()> AoMudar;

protected:
    void Mudou();

    TForm& dono_;

private:
    const DescricaoControle& descricao_;
    bool enabled_ = true;
    bool visible_;
};

class TButton : public TControl {
public:
    TButton(TForm& dono, std::string_view nome) : TControl(dono, nome) {}
    std::string_view Caption() const { return Descricao().texto; }
    std::function<void()> OnClick;
    // The operator pressed it (mouse, Space or Enter): OnClick, its failures
    // going to the form's error report. Nothing while disabled.
    void Click();
};

class TLabel : public TControl {
public:
    TLabel(TForm& dono, std::string_view nome) : TControl(dono, nome), caption_(Descricao().texto) {}
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

private:
    std::string caption_;
};

class TGroupBox : public TControl {
public:
    TGroupBox(TForm& dono, std::string_view nome) : TControl(dono, nome) {}
    std::string_view Caption() const { return Descricao().texto; }
};

class TRadioGroup : public TControl {
public:
    TRadioGroup(TForm& dono, std::string_view nome) : TControl(dono, nome) {}
    std::string_view Caption() const { return Descricao().texto; }
    std::vector<std::string_view> Items() const;
    int ItemIndex() const { return itemIndex_; }
    // Set by the program: OnClick does not run.
    void SetItemIndex(int indice);
    std::function<void()> OnClick;
    // The operator chose item `indice`: OnClick runs when the choice changed.
    void Escolher(int indice);

private:
    int itemIndex_ = 0;
};

// An edit box bound to one column of the row a data source follows: it shows
// the field's value, hands what the operator types to the field, and is read
// only while the row is not being edited. It holds no control characters: a
// pasted line break or tab would reach the settings and the printer.
class TDBEdit : public TControl {
public:
    TDBEdit(TForm& dono, std::string_view nome, TDataSource& fonte);

    std::string_view DataField() const { return Descricao().texto; }
    // As shown (UTF-8), and as the table's 8-bit bytes, which is what is printed.
    std::string Text() const;
    std::string TextoBruto() const;
    // The widest text the column takes; 0 when it sets no limit.
    int MaxLength() const { return link_.TamanhoMaximo(); }
    bool ReadOnly() const { return !link_.PodeEditar(); }
    // The operator changed the text to `utf8`. What the field cannot take (a
    // control character, a letter its code page lacks) is left out or refused;
    // the shell then shows Text() again.
    void Digitar(const std::string& utf8);

private:
    TFieldDataLink link_;
};

// Only the characters an edit box keeps: no C0 or C1 control characters.
std::string SemCaracteresDeControle(const std::string& utf8);

// The window itself: its title, its controls by name, and the default error
// report every handler's failure goes to.
class TForm {
public:
    virtual ~TForm() = default;

    const DescricaoJanela& Descricao() const { return Formulario(); }
    const std::string& Caption() const { return caption_; }
    // Set by the shell: called when the title changed.
    std::function<void()> AoMudar;

    // The control of that name, for a shell drawing the description; null for a name it lacks.
    TControl* Controle(std::string_view nome) const;

    // Runs a handler. A failure it does not catch goes to the default error
    // report, a message box with its text, and the window goes on as it was.
    bool Tratar(const std::function<void()>& acao);

protected:
    TForm();
    void SetCaption(const std::string& caption);
    virtual void RelatarErro(const std::string& texto) = 0;

private:
    friend class TControl;
    std::string caption_;
    std::vector<TControl*> controles_;
};

}  // namespace rotulos::form
