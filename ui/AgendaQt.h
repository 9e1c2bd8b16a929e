#pragma once

// The window's timer on Qt: one call at a time, from the event loop.

#include <QTimer>
#include <functional>

#include "ImpressaoRotulos.h"

class AgendaQt : public rotulos::Agenda {
public:
    AgendaQt() {
        timer_.setSingleShot(true);
        // A coarse timer may fire up to 5% early; the printer's pause is never shorter than asked.
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto acao = std::move(acao_);
            acao_ = nullptr;
            if (acao) acao();
        });
    }

    void Agendar(std::chrono::milliseconds espera, std::function<void()> acao) override {
        acao_ = std::move(acao);
        timer_.start(espera);
    }
    void Cancelar() override {
        timer_.stop();
        acao_ = nullptr;
    }

private:
    QTimer timer_;
    std::function<void()> acao_;
};
