#pragma once

#include "capture/keysynthesizer.h"

// Key presses through the XTest extension, which X servers offer to every client.
class XTestKeySynthesizer final : public KeySynthesizer
{
public:
    bool isTrusted() const override;
    void postPasteShortcut() override;
};
