#pragma once
// Points the word-processor control's dialogs, messages and file choices at the editor's
// own services, so that a script answers them in tests as it answers the editor's dialogs.
void InstallTdxDialogSeam();
