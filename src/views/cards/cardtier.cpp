#include "cardtier.h"

CardTier cardTier(int gridRows, int gridColumns)
{
    if (gridRows > 4 || gridColumns == 1)
        return CardTier::Compact;
    if (gridRows <= 3 && gridColumns <= 3)
        return CardTier::Roomy;
    return CardTier::Standard;
}
