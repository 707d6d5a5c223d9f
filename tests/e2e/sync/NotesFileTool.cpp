// The notes files of the kill and save-race runs, read and made with the
// host build's own reader and writer (not the program under test):
//   velumo_notes_file make <out> <count> <text bytes>   hidden notes, each
//                                                      with an id of its own
//   velumo_notes_file other <in> <out> <text>           another computer's
//                                                      version: one note
//                                                      added, the first one
//                                                      deleted, the second
//                                                      one typed in, all
//                                                      hidden
//   velumo_notes_file ids <file>                        one line per note:
//                                                      its id and text; exit
//                                                      1 when it does not
//                                                      decode (a bin too)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/UnicodeText.h"
#include "notes/CNoteList.h"
#include "notes/DeletedNotesBin.h"
#include "notes/NoteIdSource.h"

namespace {

bool ReadFile(const char* path, std::vector<uint8_t>& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool WriteFile(const char* path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::unique_ptr<CNote> NewNote(const std::string& text, int index)
{
    auto note = std::make_unique<CNote>();
    note->m_identity = NoteIdSource::NewIdentity(std::time(nullptr));
    note->m_strText = Utf16FromUtf8(text);
    note->m_bVisible = 0;  // thousands of windows would time the screen, not the file
    const int x = 20 + index % 40 * 20;
    note->m_rcWindow = NoteRect{x, 100, x + 200, 250};
    return note;
}

int Make(const char* out, int count, size_t textBytes)
{
    CNoteList notes;
    for (int i = 0; i < count; ++i) {
        std::string text = "note-" + std::to_string(i) + " ";
        text.resize(std::max(text.size(), textBytes), 'x');
        notes.Add(NewNote(text, i));
    }
    return WriteFile(out, notes.StoreToBytes()) ? 0 : 1;
}

int Other(const char* in, const char* out, const std::string& text)
{
    std::vector<uint8_t> bytes;
    CNoteList notes;
    if (!ReadFile(in, bytes) || !notes.LoadFromBytes(bytes))
        return 1;
    if (notes.m_nCount > 2) {
        notes.Remove(notes.GetHeadPosition());
        CNote* typed = notes.GetAt(notes.GetHeadPosition());
        typed->m_strText += u" " + Utf16FromUtf8(text);
        typed->m_identity.changedUtc = std::max<int64_t>(typed->m_identity.changedUtc + 1, std::time(nullptr));
    }
    notes.Add(NewNote(text, notes.m_nCount));
    // Hidden, so that runs of hundreds of tries do not fill the screen.
    for (NotePos p = notes.GetHeadPosition(); p; p = CNoteList::GetNext(p))
        notes.GetAt(p)->m_bVisible = 0;
    return WriteFile(out, notes.StoreToBytes()) ? 0 : 1;
}

void PrintNote(const CNote& note)
{
    const std::string text = Utf8FromUtf16(note.m_strText);
    std::printf("%016llx%016llx %s\n", static_cast<unsigned long long>(note.m_identity.id.hi),
                static_cast<unsigned long long>(note.m_identity.id.lo), text.substr(0, text.find(' ')).c_str());
}

int Ids(const char* path)
{
    std::vector<uint8_t> bytes;
    if (!ReadFile(path, bytes))
        return 1;
    CNoteList notes;
    if (notes.LoadFromBytes(bytes)) {
        for (NotePos p = notes.GetHeadPosition(); p; p = CNoteList::GetNext(p))
            PrintNote(*notes.GetAt(p));
        return 0;
    }
    CDeletedNotesBin bin;
    if (!bin.LoadFromBytes(bytes, static_cast<NoteTime>(std::time(nullptr))))
        return 1;
    for (const CDeletedNotesBin::Entry& entry : bin.Entries())
        PrintNote(*entry.note);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "make" && argc == 5)
        return Make(argv[2], std::atoi(argv[3]), static_cast<size_t>(std::atoi(argv[4])));
    if (command == "other" && argc == 5)
        return Other(argv[2], argv[3], argv[4]);
    if (command == "ids" && argc == 3)
        return Ids(argv[2]);
    std::fprintf(stderr, "usage: see the top of NotesFileTool.cpp\n");
    return 2;
}
