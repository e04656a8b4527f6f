#include "fuzz/ReaderView.h"

#include "book/LDBFile.h"
#include "framework/io/File.h"

ReaderView ViewWithReader(const std::string& path)
{
    ReaderView view;
    CFile file(path.c_str());
    CLDBFile reader(file);
    view.valid = reader.IsValid();
    view.complete = reader.IsComplete();
    view.fileSize = reader.GetFileSize();
    for (uint32_t i = 0; i < reader.GetRecordCount(); ++i)
        view.recordSizes.push_back(reader.GetRecordSize(i));
    return view;
}
