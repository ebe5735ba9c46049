#pragma once
// The book commands of the frame's dispatcher, in groups. Each routine runs the ids of its
// group and returns false for any other, so the dispatcher chains them.
class CLindarDoc;
class CMainFrame;

// Commands that run one named action of the chapter's control.
bool RunControlActionCommand(int id, CLindarDoc& document);
// The document's editing commands: pictures, indentation, zoom, paste, paper size.
bool RunEditingCommand(int id, CLindarDoc& document);
// Save, save as, close, and the content registration.
bool RunBookFileCommand(int id, CMainFrame& frame, CLindarDoc& document);
