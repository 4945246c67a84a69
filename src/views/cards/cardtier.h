#pragma once

// How much a card shows, from the density of the board's grid.
enum class CardTier { Compact, Roomy, Standard };

CardTier cardTier(int gridRows, int gridColumns);

// The value for the tier out of one given per tier, in the order compact, roomy, standard.
template <typename T> T byTier(CardTier tier, T compact, T roomy, T standard)
{
    switch (tier) {
    case CardTier::Compact:
        return compact;
    case CardTier::Roomy:
        return roomy;
    case CardTier::Standard:
        break;
    }
    return standard;
}
