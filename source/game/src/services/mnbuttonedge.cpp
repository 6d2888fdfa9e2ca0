#include <services/mnbuttonedge.h>

#include <kelvo/input/kinputsystem.h>

namespace Kelvo_lib {

void MNButtonEdge::Update() {
    m_bWasHeld = m_bHeld;
    m_bHeld = kInput != nullptr && kInput->GetInputState(m_button, 0) != 0.0f;
}

} // namespace Kelvo_lib
