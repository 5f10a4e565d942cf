#pragma once
// The module's group icons: PNG pictures compiled into the ELF section ".bficons"
// in a fixed list order, so that a host can find icon number N of a module file
// without loading it, as it would with the icon resources of a library.
//
// Section layout, little-endian: a sequence of records [u32 id][u32 size][size bytes
// of PNG], each record padded to a multiple of 4 bytes, ended by a record with id 0.

#include <cstdint>
#include <span>
#include <vector>

inline constexpr const char* kIconSectionName = ".bficons";

struct IconEntry {
    int id;
    std::span<const unsigned char> png;
};

// Stops at the end record, or at the first record that does not fit the data.
std::vector<IconEntry> ParseIconDirectory(std::span<const unsigned char> section);

// Defined by the generated icon source of the module.
std::span<const unsigned char> ModuleIconSection();
