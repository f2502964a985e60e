#pragma once
// The main window's own link: the one the routines of Comm_Fun.h and Protocol.h and the free
// functions of ExchangeObserver.h talk through. Only those routines and the window's folder
// reach it; everything else is handed the link it serves. Built on first use, on the GUI
// thread.

class ControllerLink;

ControllerLink& WindowLink();
