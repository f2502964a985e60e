#pragma once
// Text typed into a value field but not committed yet is part of what the window shows. An
// operation that reads or overwrites the controller's block (a save, a load, a restore, a
// compare) commits it first, as Enter would, so that it works with what the window shows.

class ComponentList;
class ControllerSession;

// Commits the typed text of every value field of the window to the session's controller, in
// creation order. When the
// write of a commit gets no valid reply, throws with the field's name: the operation stops,
// since the field shows a value the controller may not hold.
void CommitTypedText(ControllerSession& session, const ComponentList& components);
