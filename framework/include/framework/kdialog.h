// kDialog, a message box (title, body, options, priority), and kDialogManager, the static
// set of open dialogs. The manager never owns a dialog: whoever opens one keeps it alive
// until it is closed. The active dialog is the open one of highest priority, ties going to
// the one opened last; every opening and closing is announced by a signal. Main thread
// only. Calls before Init, or with a dialog in the wrong state, do nothing.
#pragma once

#include <kelvo/containers/karray.h>
#include <kelvo/containers/kstring.h>
#include <kelvo/object/ksignal.h>

namespace Kelvo_lib {

// A source of menu input given to the dialog manager; kept, never read back.
class InputObject;

class kDialog {
public:
    kDialog(kString title, kString body, int priority)
        : m_title(title), m_body(body), m_priority(priority) {}

    kString m_title;
    kString m_body;
    kArray<kString> m_optionList;
    int m_currentOption = 0;
    int m_priority;
    // -1: the text is literal; else the id of a text the dialog's owner fills in.
    int m_titleScriptId = -1;
    int m_bodyScriptId = -1;
    kArray<int> m_optionScriptIdList;
};

class kDialogManager {
public:
    // Only the first call after start-up (or after Deinit) has an effect.
    static void Init(InputObject* optionUp, InputObject* optionDown, InputObject* action);
    // Forgets every open dialog (without signals) and makes the manager unusable again.
    static void Deinit();

    // Nothing happens for a dialog already open; the new dialog becomes active unless the
    // active one has a higher priority.
    static void Open(kDialog* dialog);
    // Nothing happens for a dialog that is not open.
    static void Close(kDialog* dialog);

    // Whether any dialog is open (and so active).
    static bool IsOpen();
    static bool IsOpen(kDialog* dialog);
    static kDialog* GetActiveDialog();

    // Emitted after the dialog lists and the active dialog have changed.
    static kSignal1<kDialog*> DialogOpenSignal;
    static kSignal1<kDialog*> DialogCloseSignal;
    // Connection points for the dialog layer; the manager itself never emits them.
    static kSignal1<kDialog*> DialogOptionChangeSignal;
    static kSignal1<kDialog*> DialogOnScreenSignal;
};

} // namespace Kelvo_lib
