// What the register session knows of the open register, which every change reads to plan its
// writes and brings up to date once they are made: the path, the file's stamp as listed, every
// record's fingerprint, place and marks, the list's rows, and what was read of the companion store.
#pragma once

#include <string>
#include <vector>

#include "core/list/register_list.h"
#include "core/register/record_places.h"
#include "core/runtime/file_access.h"
#include "core/runtime/io_status.h"
#include "core/session/category_book.h"
#include "core/store/companion_store.h"

namespace quillet {

// What the companion store is to the open register.
enum class StoreState {
    kUnread,    // not read yet since the register was opened
    kNone,      // there is none (nothing was ever imported or marked): normal
    kRead,      // its links and marks are read
    kUnusable,  // it cannot be read (damaged, newer, locked, a link that leads nowhere...)
};

struct SessionState {
    std::string path;  // empty while no register is open
    FileStamp stamp;   // the file as listed, or as our last write left it
    // Made from the file once first needed after the list (RegisterSession::make_places); made
    // from a file that had changed since it was listed, they are unlike the list until it is
    // listed again.
    RecordPlaces places;
    bool places_made = false;
    bool places_unlike_list = false;
    RegisterList list;
    StoreState store_state = StoreState::kUnread;
    IoStatus store_problem;
    std::vector<StoredStatement> statements;  // oldest first, as read or as our changes left them
    CategoryBook categories;

    bool open() const { return !path.empty(); }
    std::string store_path() const { return store_path_of(path); }
};

}  // namespace quillet
