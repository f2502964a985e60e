#include "ControllerSession.h"

ControllerSession::ControllerSession(ControllerLink& link, QObject* parent)
    : QObject(parent), link_(link), poller_(link), net_(link, operations_), watch_(link) {}

ControllerSession::~ControllerSession() = default;
