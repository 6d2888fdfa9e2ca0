// The dialog manager's open list, in order of opening, and the choice of the active dialog.
#include <framework/kdialog.h>

namespace Kelvo_lib {

kSignal1<kDialog*> kDialogManager::DialogOpenSignal;
kSignal1<kDialog*> kDialogManager::DialogCloseSignal;
kSignal1<kDialog*> kDialogManager::DialogOptionChangeSignal;
kSignal1<kDialog*> kDialogManager::DialogOnScreenSignal;

namespace {

kArray<kDialog*> s_dialogList;
kDialog* s_activeDialog = nullptr;
InputObject* s_inputOptionUp = nullptr;
InputObject* s_inputOptionDown = nullptr;
InputObject* s_inputAction = nullptr;
bool s_bInit = false;

int IndexOfDialog(const kDialog* dialog) {
    for (int i = 0; i < s_dialogList.Size(); ++i) {
        if (s_dialogList(i) == dialog) {
            return i;
        }
    }
    return -1;
}

// The open dialog of highest priority, the latest opened among equals; null when none.
kDialog* HighestPriorityDialog() {
    kDialog* best = nullptr;
    for (int i = s_dialogList.Size() - 1; i >= 0; --i) {
        if (best == nullptr || s_dialogList(i)->m_priority > best->m_priority) {
            best = s_dialogList(i);
        }
    }
    return best;
}

} // namespace

void kDialogManager::Init(InputObject* optionUp, InputObject* optionDown, InputObject* action) {
    if (s_bInit) {
        return;
    }
    s_dialogList.Empty();
    s_activeDialog = nullptr;
    s_inputOptionUp = optionUp;
    s_inputOptionDown = optionDown;
    s_inputAction = action;
    s_bInit = true;
}

void kDialogManager::Deinit() {
    s_dialogList.Empty();
    s_activeDialog = nullptr;
    s_inputOptionUp = nullptr;
    s_inputOptionDown = nullptr;
    s_inputAction = nullptr;
    s_bInit = false;
}

void kDialogManager::Open(kDialog* dialog) {
    if (!s_bInit || dialog == nullptr || IndexOfDialog(dialog) >= 0) {
        return;
    }
    s_dialogList.Push(dialog);
    if (s_activeDialog == nullptr || s_activeDialog->m_priority <= dialog->m_priority) {
        s_activeDialog = dialog;
    }
    DialogOpenSignal(dialog);
}

void kDialogManager::Close(kDialog* dialog) {
    const int index = s_bInit ? IndexOfDialog(dialog) : -1;
    if (index < 0) {
        return;
    }
    s_dialogList.Remove(index);
    if (s_activeDialog == dialog) {
        s_activeDialog = HighestPriorityDialog();
    }
    DialogCloseSignal(dialog);
}

bool kDialogManager::IsOpen() {
    return s_bInit && s_dialogList.Size() != 0 && s_activeDialog != nullptr;
}

bool kDialogManager::IsOpen(kDialog* dialog) {
    return s_bInit && IndexOfDialog(dialog) >= 0;
}

kDialog* kDialogManager::GetActiveDialog() {
    return s_activeDialog;
}

} // namespace Kelvo_lib
