#pragma once

#include <string>
#include <string_view>

// Whose a file is decides how it may be written.
enum TWriteTarget {
  // A name the user gave: a document, the settings file, html2rtf's OUT. A symbolic link is
  // followed to the file it names, which gets the new text while the link stays. A file with
  // several names, or in a folder that takes no new file, is rewritten in place, so that every
  // name shows the new text, once its old text is backed up on disk.
  wtNamed,
  // A file of the program's own, as the preview's scratch file: anything at the name that is
  // not a regular file, a link included, is refused, and the file is only ever replaced, never
  // written through, so a name planted by someone else can make it write nowhere else.
  wtOwn,
};

// Replaces a file's content with bytes, whole or not at all. The text goes to a new file beside
// the old one, every write checked and synced, and is renamed over the old name, whose folder is
// then synced. Returns 0 once every byte is on disk; otherwise the errno of the failure, and the
// old file is as it was. A folder at the name gives EISDIR, anything else that is not a regular
// file EEXIST.
int WriteWholeFile(const std::string& path, std::string_view bytes, TWriteTarget target);

// The suffix of the files a write makes beside its target: the new text until it is renamed,
// the old text of a file rewritten in place until the new one is on disk. Should the program
// be killed, the old text of a file rewritten in place is found in the backup of that name.
constexpr char WriteSuffix[] = ".vornsave-";
