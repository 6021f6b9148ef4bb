// Media file helpers shared by the players: dispatch of dropped files and the
// save question for a changed recording.
#pragma once

// Hands a media file to the player for its extension.
void DispatchMediaFile(const char *path);

// Asks about an unsaved recording. Answers 0 when the user cancelled.
int ConfirmWaveChanges();
