// CT_File: the library's abstract file. It keeps a full name together with its four parts
// (drive, directory, name, extension; always the split of the full name, or the parts it was
// made from), an open state with the parameters of the open, and the last transfer direction;
// the operations every file offers are its pure virtual slots. On them it builds whole-buffer
// transfers, appending one file to another, Unicode detection, and reading and writing text
// lines in 8-bit and 16-bit form.
//
// Text on disk: 8-bit lines are a CT_CString's bytes ended by 0D 0A; 16-bit lines are UTF-16
// little-endian units ended by 0D 00 0A 00, and a 16-bit file may start with the byte order
// mark FF FE, which the readers skip and the writers never write. A line ends at a line feed; a
// carriage return right before it is not part of the line, wherever the chunks split the text.
//
// Line readers, by chunk, and what they return for a line ended by a line feed / at the end:
//   n_ReadLineC              256 bytes    characters + 1          characters collected
//   n_ReadLineU              512 bytes    2 x characters + 2      2 x characters collected
//   n_ReadLineCSequential   4096 bytes    characters + 1          0
//   n_ReadLineUSequential   8192 bytes    2 x characters + 2      0
// (characters before stripping). A sequential reader returns 0 at the end even when it has
// put an unterminated last line into the line: callers read on until the result is 0 and then
// take that line too. The plain readers leave the file just after the line feed, so they mix
// with any other reading or seeking; the sequential ones keep each chunk in the line buffer and
// the file stands ahead of the lines they returned, so they must not be mixed with other reads,
// seeks or writes of the same file. A final odd byte of a 16-bit file reads as U+FFFD.
//
// Failures are reported to the error manager by the library's convention and give 0, except
// that a line reader whose read fails hands over the text it had, as at the end of the file.
// One object is used by one thread at a time.
#pragma once

#include "Basis/Platform/Export.h"
#include "System/String/Buffer.h"
#include "System/String/UString.h"

#include <cstddef>

class CT_EXPORT CT_File
{
public:
    enum et_Access
    {
        eo_AccessNone,
        eo_AccessRead,
        eo_AccessWrite,
        eo_AccessReadWrite
    };
    enum et_Open
    {
        eo_OpenNone, // while the file is not open
        eo_OpenExisting,
        eo_OpenCreate, // replacing any existing file
        eo_OpenAppend  // open or create, then at the end
    };
    enum et_Share
    {
        eo_ShareExclusive,
        eo_ShareRead,
        eo_ShareWrite,
        eo_ShareReadWrite
    };
    enum et_Origin
    {
        eo_OriginBegin,
        eo_OriginCurrent,
        eo_OriginEnd
    };
    enum et_FileAccess
    {
        eo_TransferNone,
        eo_TransferRead,
        eo_TransferWrite
    };

    // Attribute bits of vv_Open.
    static constexpr unsigned sn_AttributeNormal = 0x01, sn_AttributeArchive = 0x02,
                              sn_AttributeCompressed = 0x04, sn_AttributeHidden = 0x08,
                              sn_AttributeReadOnly = 0x10, sn_AttributeSystem = 0x20,
                              sn_AttributeDirectory = 0x40, sn_AttributeTemporary = 0x80;
    // Flag bits of vv_Open.
    static constexpr unsigned sn_FlagWriteThrough = 0x01, sn_FlagOverlapped = 0x02,
                              sn_FlagNoBuffering = 0x04, sn_FlagRandomAccess = 0x08,
                              sn_FlagSequentialScan = 0x10, sn_FlagDeleteOnClose = 0x20;
    static constexpr unsigned sn_All = 0xFFFFFFFFu;

    // Empty name, buffer size 0, closed.
    CT_File();
    // The buffer size is rounded up to a multiple of 1024; the file classes only hold it.
    CT_File(const CT_String* pcco_Name, unsigned n_BufferSize);
    // The other file's name and buffer size; closed.
    explicit CT_File(const CT_File* pcco_Other);
    CT_File(const CT_File&) = delete;
    CT_File& operator=(const CT_File&) = delete;
    virtual ~CT_File();

    // Empty everything, then initialise as the matching constructor.
    virtual void vv_Set(const CT_File* pcco_Other);
    virtual void vv_Set(const CT_String* pcco_Name, unsigned n_BufferSize);
    virtual void vv_Set();
    virtual void vv_Open(et_Access eo_Access, et_Open eo_Open, et_Share eo_Share,
                         unsigned n_Attributes, unsigned n_Flags) = 0;
    virtual void vv_Close() = 0;
    virtual void vv_Flush() = 0;
    virtual void vv_Remove() = 0;
    virtual void vv_Rename(const CT_String* pcco_NewName) = 0;
    virtual unsigned vn_Read(void* pv_Data, unsigned n_Count) = 0;
    virtual unsigned vn_Write(const void* pcv_Data, unsigned n_Count) = 0;
    virtual unsigned vn_GetSize() const = 0;
    virtual unsigned vn_GetOffset() const = 0;
    // From the start the distance is the unsigned offset itself (files up to 4 GB); from the
    // current offset and from the end it is signed.
    virtual void vv_SetOffset(et_Origin eo_Origin, int i_Distance) = 0;
    virtual int vb_IsEof() const = 0;

    const CT_UString* pcco_GetFullName() const { return &co_FullName; }
    const CT_UString* pcco_GetDrive() const { return &co_Drive; }
    const CT_UString* pcco_GetDirectory() const { return &co_Directory; }
    const CT_UString* pcco_GetName() const { return &co_Name; }
    const CT_UString* pcco_GetExtension() const { return &co_Extension; }
    unsigned n_GetBufferSize() const { return n_BufferSize; }
    int b_IsOpen() const { return b_Open; }
    et_Access ec_GetOpenAccess() const { return ec_OpenAccess; }
    et_Open ec_GetOpenModi() const { return ec_OpenModi; }
    et_Share ec_GetOpenShare() const { return ec_OpenShare; }
    unsigned n_GetOpenAttribut() const { return n_OpenAttribut; }
    unsigned n_GetOpenFlag() const { return n_OpenFlag; }

    // The full name replaced and split into its parts.
    void v_SetFullName(const CT_String* pcco_Name);
    // One part replaced and the full name made again from the four.
    void v_SetDrive(const CT_String* pcco_Drive);
    void v_SetDirectory(const CT_String* pcco_Directory);
    void v_SetName(const CT_String* pcco_Name);
    void v_SetExtension(const CT_String* pcco_Extension);
    // The full name made absolute, and split again.
    void v_FullPath();
    int b_IsExistent() const;

    // Room for n_Count bytes in the buffer (its content is not kept), which then holds the
    // bytes read.
    unsigned n_Read(CT_Buffer* pco_Buffer, unsigned n_Count);
    // n_Count bytes from the buffer's start, at most its used size (sn_All: all of it).
    unsigned n_Write(const CT_Buffer* pco_Buffer, unsigned n_Count);
    // The whole of pcco_Source after this file's end, through one buffer of n_Chunk bytes (0: 64
    // KB). Both files are opened exclusively for it and closed again, also after a failure. The
    // source object is opened and closed; its names stay.
    void v_Append(const CT_File* pcco_Source, unsigned n_Chunk);
    // FF FE at the start, or the statistics test of 16-bit text on the first 100 bytes; an odd
    // size never. The file stands at its start afterwards.
    int b_IsUnicode();

    unsigned n_ReadLineC(CT_String* pco_Line, const CT_String* pcco_Strip);
    unsigned n_ReadLineCSequential(CT_String* pco_Line, const CT_String* pcco_Strip);
    unsigned n_ReadLineU(CT_String* pco_Line, const CT_String* pcco_Strip);
    unsigned n_ReadLineUSequential(CT_String* pco_Line, const CT_String* pcco_Strip);
    // The text (nothing for a null or empty line), then the line end when b_LineEnd is set.
    void v_WriteLineC(const CT_String* pcco_Line, int b_LineEnd);
    void v_WriteLineU(const CT_String* pcco_Line, int b_LineEnd);

protected:
    // Opening and closing also start the transfer direction afresh and forget the sequential
    // readers' chunk.
    void v_SetOpen(int b);
    // The parameters of the current open (all 0 when closing).
    void v_SetOpenParameters(et_Access eo_Access, et_Open eo_Open, et_Share eo_Share,
                             unsigned n_Attributes, unsigned n_Flags);
    // Before every read (eo_TransferRead) and write (eo_TransferWrite): a change of direction
    // sets the file pointer to the kept offset first, and is remembered only when that worked.
    void v_SetAccess(et_FileAccess eo_Access);
    et_FileAccess eo_GetAccess() const { return eo_LastAccess; }

private:
    void v_Init(const CT_String* pcco_Name, unsigned n_BufferSize);
    // One part replaced and the full name made again from the four.
    void v_SetPart(CT_UString* pco_Part, const CT_String* pcco_Value);
    // The common work of the four line readers, for 8-bit (char) or 16-bit (char16_t) units.
    template <typename T>
    unsigned n_ReadLine(CT_String* pco_Line, const CT_String* pcco_Strip, unsigned n_Chunk);
    template <typename T>
    unsigned n_ReadLineSequential(CT_String* pco_Line, const CT_String* pcco_Strip,
                                  unsigned n_Chunk);
    // The sequential readers' line that goes on past the chunk at hand.
    template <typename T>
    unsigned n_ReadLineAcross(CT_String* pco_Line, const CT_String* pcco_Strip, unsigned n_Chunk);
    // The unread whole units of the chunk.
    template <typename T>
    const T* pct_LineUnits(std::size_t* pn_Units);
    // The direction is read, and a 16-bit reader at offset 0 is past a byte order mark (or
    // back at the start).
    template <typename T>
    void v_StartReading();
    // The sequential readers' chunk: the unread bytes moved to its start, then (b_FillLines) a
    // new chunk read after them; false when nothing more came.
    void v_CompactLines();
    bool b_FillLines(unsigned n_Chunk);

    CT_UString co_FullName;
    CT_Buffer co_LineBuffer; // the sequential readers' chunk
    unsigned n_LinePosition; // the next byte of it to read
    CT_UString co_Drive;
    CT_UString co_Directory;
    CT_UString co_Name;
    CT_UString co_Extension;
    unsigned n_BufferSize;
    et_FileAccess eo_LastAccess;
    int b_Open;
    et_Access ec_OpenAccess;
    et_Open ec_OpenModi;
    et_Share ec_OpenShare;
    unsigned n_OpenAttribut;
    unsigned n_OpenFlag;
};
