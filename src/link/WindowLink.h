#pragma once
// The main window's own link, the link of the window's session: the one the routines of
// Comm_Fun.h and Protocol.h talk through. Only those routines and the window's folder reach it;
// everything else is handed the link (or the session) it serves. Built on first use, on the
// GUI thread.

class ControllerLink;

ControllerLink& WindowLink();
