#pragma once

class QTemporaryDir;

// Points every XDG folder of this process into `home`, so that no test touches the user's own
// data or settings.
void usePrivateXdgFolders(const QTemporaryDir &home);
