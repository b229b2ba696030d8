#include "ui/session_signals.h"

namespace tq::ui {

SessionSignals::SessionSignals(Session& session, QObject* parent)
    : QObject(parent), session_(session) {
  session_.Subscribe(*this);
}

SessionSignals::~SessionSignals() {
  session_.Unsubscribe(*this);
}

}  // namespace tq::ui
