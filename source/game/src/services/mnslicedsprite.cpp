// Nine pieces, each showing its part of the art (a clip window of the frame) over its part of
// the rectangle.
#include <services/mnslicedsprite.h>

#include <framework/ksprite.h>

#include <algorithm>

namespace Kelvo_lib {

void DrawSlicedSprite(kSprite* sprite, float x, float y, float width, float height,
                      float artCorner) {
    if (sprite == nullptr) {
        return;
    }
    const float artW = sprite->GetWidth();
    const float artH = sprite->GetHeight();
    if (!(artW > 2.0f * artCorner && artH > 2.0f * artCorner)) {
        return;
    }
    const float cornerX = std::min(artCorner, width * 0.5f);
    const float cornerY = std::min(artCorner, height * 0.5f);
    const float us[] = {0.0f, artCorner / artW, 1.0f - artCorner / artW, 1.0f};
    const float vs[] = {0.0f, artCorner / artH, 1.0f - artCorner / artH, 1.0f};
    const float xs[] = {x, x + cornerX, x + width - cornerX, x + width};
    const float ys[] = {y, y + cornerY, y + height - cornerY, y + height};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            if (xs[col + 1] <= xs[col] || ys[row + 1] <= ys[row]) {
                continue;
            }
            sprite->m_clipX0 = us[col];
            sprite->m_clipX1 = us[col + 1];
            sprite->m_clipY0 = vs[row];
            sprite->m_clipY1 = vs[row + 1];
            sprite->SetPosition(xs[col], ys[row]);
            sprite->SetWidth(xs[col + 1] - xs[col]);
            sprite->SetHeight(ys[row + 1] - ys[row]);
            sprite->Render();
        }
    }
    sprite->m_clipX0 = 0.0f;
    sprite->m_clipY0 = 0.0f;
    sprite->m_clipX1 = 1.0f;
    sprite->m_clipY1 = 1.0f;
    sprite->SetWidth(artW);
    sprite->SetHeight(artH);
}

} // namespace Kelvo_lib
