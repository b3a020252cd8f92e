// The program's own small pictures, drawn at run time: the program icon and the button glyphs.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace ravelin {

/// The program's icon (a ravelin outwork over ruled lines) at the usual sizes.
QIcon ProgramIcon();
/// The program picture at size x size pixels.
QPixmap ProgramPicture(int size);
/// A yellow folder: the source folder and folder buttons.
QIcon FolderGlyph();
/// An open yellow folder: a folder on the way to the current one.
QIcon OpenFolderGlyph();
/// A page with a green arrow into it: Append.
QIcon AppendGlyph();
/// A page crossed out in red: Overwrite.
QIcon OverwriteGlyph();
/// A new page with a star: New File.
QIcon NewFileGlyph();
/// A red cross: Cancel.
QIcon CancelGlyph();
/// A green tick: OK.
QIcon OkGlyph();
/// A page under a lens: choosing the viewer program.
QIcon ViewerGlyph();
/// A pair of hands, as it were: a round credits badge.
QIcon AssistGlyph();
/// The small round badge beside the About box's second link, size x size pixels.
QPixmap BadgePicture(int size);

}  // namespace ravelin
