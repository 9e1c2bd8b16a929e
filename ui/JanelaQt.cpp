#include "JanelaQt.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

using namespace rotulos::form;

namespace {

QString Texto(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

QRect Geometria(const rotulos::form::Retangulo& r) { return {r.left, r.top, r.width, r.height}; }

}  // namespace

JanelaQt::JanelaQt(TfoImprimeEtiqLumbertovaLab& janela) : janela_(janela) {
    const DescricaoJanela& forma = janela_.Descricao();
    setObjectName(Texto(forma.nome));
    // The form's face at its size; where it is missing, one of about its
    // width comes first, then the system's sans-serif.
    QFont fonte(Texto(forma.fonte));
    fonte.setFamilies({Texto(forma.fonte), QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans"),
                       QStringLiteral("Arial")});
    fonte.setPixelSize(forma.alturaFonte);
    fonte.setStyleHint(QFont::SansSerif);
    setFont(fonte);
    // The icon lives in this static library; its resources must be pulled in.
    Q_INIT_RESOURCE(icones);
    setWindowIcon(QIcon(QStringLiteral(":/icones/MAINICON.png")));
    resize(forma.larguraCliente, forma.alturaCliente);
    move(forma.left, forma.top);

    // Parents come before their children in the description.
    for (const DescricaoControle& descricao : forma.controles) {
        QWidget* pai = descricao.pai.empty() ? this : Widget(std::string(descricao.pai));
        QWidget* widget = Criar(descricao, pai);
        widgets_.emplace(std::string(descricao.nome), widget);
        Ligar(*janela_.Controle(descricao.nome), widget);
    }
    DefinirOrdemDeTabulacao();

    janela_.AoMudar = [this] { setWindowTitle(Texto(janela_.Caption())); };
    setWindowTitle(Texto(janela_.Caption()));
    janela_.AoFechar = [this] { close(); };
}

JanelaQt::~JanelaQt() {
    // The core outlives the widgets: it must not call into them any more.
    janela_.AoMudar = nullptr;
    janela_.AoFechar = nullptr;
    for (const auto& descricao : janela_.Descricao().controles) janela_.Controle(descricao.nome)->AoMudar = nullptr;
}

QWidget* JanelaQt::Widget(const std::string& nome) const {
    const auto achado = widgets_.find(nome);
    return achado == widgets_.end() ? nullptr : achado->second;
}

QWidget* JanelaQt::Criar(const DescricaoControle& descricao, QWidget* pai) {
    QWidget* widget = nullptr;
    switch (descricao.tipo) {
        case TipoControle::Botao: {
            auto* botao = new QPushButton(Texto(descricao.texto), pai);
            // Enter presses the focused button, as it does on Windows.
            botao->setAutoDefault(true);
            widget = botao;
            break;
        }
        case TipoControle::Grupo: widget = new QGroupBox(Texto(descricao.texto), pai); break;
        case TipoControle::Rotulo: widget = new QLabel(Texto(descricao.texto), pai); break;
        case TipoControle::Edicao: widget = new QLineEdit(pai); break;
        case TipoControle::GrupoDeOpcoes: {
            auto* grupo = new QGroupBox(Texto(descricao.texto), pai);
            auto* botoes = new QButtonGroup(grupo);
            const auto posicoes = PosicoesDosItens(descricao, janela_.Descricao().alturaTexto);
            for (std::size_t i = 0; i < posicoes.size(); ++i) {
                auto* botao = new QRadioButton(Texto(descricao.itens[i]), grupo);
                botao->setGeometry(Geometria(posicoes[i]));
                botoes->addButton(botao, static_cast<int>(i));
            }
            grupos_.emplace(std::string(descricao.nome), botoes);
            widget = grupo;
            break;
        }
    }
    widget->setObjectName(Texto(descricao.nome));
    widget->setGeometry(Geometria(descricao.posicao));
    return widget;
}

void JanelaQt::Ligar(TControl& controle, QWidget* widget) {
    if (auto* botao = dynamic_cast<TButton*>(&controle)) {
        connect(static_cast<QPushButton*>(widget), &QPushButton::clicked, this, [botao] { botao->Click(); });
    } else if (auto* edit = dynamic_cast<TDBEdit*>(&controle)) {
        connect(static_cast<QLineEdit*>(widget), &QLineEdit::textEdited, this,
                [edit](const QString& texto) { edit->Digitar(texto.toStdString()); });
    } else if (auto* grupo = dynamic_cast<TRadioGroup*>(&controle)) {
        connect(grupos_.at(std::string(controle.Name())), &QButtonGroup::idClicked, this,
                [grupo](int indice) { grupo->Escolher(indice); });
    }
    controle.AoMudar = [this, &controle, widget] { Renderizar(controle, widget); };
    Renderizar(controle, widget);
}

void JanelaQt::Renderizar(const TControl& controle, QWidget* widget) {
    widget->setEnabled(controle.Enabled());
    widget->setVisible(controle.Visible());
    if (const auto* rotulo = dynamic_cast<const TLabel*>(&controle)) {
        auto* label = static_cast<QLabel*>(widget);
        label->setText(Texto(rotulo->Caption()));
        // Sized to its text from where the form puts it, so that another face
        // than the form's does not cut it off.
        label->resize(label->sizeHint().width(), controle.Descricao().posicao.height);
    } else if (const auto* edit = dynamic_cast<const TDBEdit*>(&controle)) {
        auto* linha = static_cast<QLineEdit*>(widget);
        const int maximo = edit->MaxLength();
        linha->setMaxLength(maximo > 0 ? maximo : 32767);
        linha->setReadOnly(edit->ReadOnly());
        // Setting the same text again would move the cursor while the operator types.
        const QString texto = Texto(edit->Text());
        if (linha->text() != texto) linha->setText(texto);
    } else if (const auto* grupo = dynamic_cast<const TRadioGroup*>(&controle)) {
        if (QAbstractButton* botao = grupos_.at(std::string(controle.Name()))->button(grupo->ItemIndex()))
            botao->setChecked(true);
    }
}

void JanelaQt::DefinirOrdemDeTabulacao() {
    // The window's controls in their order, each group's own where the group stands.
    std::vector<QWidget*> cadeia;
    for (const DescricaoControle* controle : OrdemDeTabulacao("")) {
        const std::string nome(controle->nome);
        if (controle->tipo == TipoControle::Grupo) {
            for (const DescricaoControle* filho : OrdemDeTabulacao(controle->nome))
                cadeia.push_back(Widget(std::string(filho->nome)));
        } else if (controle->tipo == TipoControle::GrupoDeOpcoes) {
            for (QAbstractButton* botao : grupos_.at(nome)->buttons()) cadeia.push_back(botao);
        } else {
            cadeia.push_back(Widget(nome));
        }
    }
    for (std::size_t i = 1; i < cadeia.size(); ++i) setTabOrder(cadeia[i - 1], cadeia[i]);
}

void JanelaQt::showEvent(QShowEvent* evento) {
    QWidget::showEvent(evento);
    // Shown by the program, not restored by the window system.
    if (evento->spontaneous()) return;
    janela_.Mostrar();
    Widget(std::string(janela_.ControleInicial().Name()))->setFocus();
}

void JanelaQt::closeEvent(QCloseEvent* evento) {
    // The core decides: it runs the closing sequence, asks during a print run,
    // and closes the window through AoFechar when it is done.
    if (janela_.Fechada()) {
        evento->accept();
        return;
    }
    evento->ignore();
    janela_.Close();
}
