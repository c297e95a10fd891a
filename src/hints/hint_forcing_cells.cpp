// The third link of the hint chain. The level-2 and level-3 techniques are not part of the
// hint chain yet: the link ends the chain as its last link will.
#include "hints/hint_engine.h"

namespace tl {

void Hint_Forcing_Cells(HintContext &ctx)
{
    ctx.End_Of_Chain();
}

} // namespace tl
