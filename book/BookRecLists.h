// The record lists of one build, owned together and freed together.
#pragma once

#include "book/ChapterRecList.h"
#include "book/ImageRecList.h"
#include "book/IndexRecList.h"
#include "book/LinkRecList.h"
#include "book/PageRecList.h"
#include "book/SidebarSet.h"

struct BookRecLists {
    PageRecList smallPages; // small device font
    PageRecList largePages; // large device font
    ChapterRecList chapters;
    ImageRecList images;
    LinkRecList links;
    SidebarSet sidebars;
    FootnoteSet footnotes;
    IndexRecList index;
};
