// Text packed for the report page: compressed as a raw DEFLATE stream (RFC 1951) and written
// in base64, so a large library's page stays a fraction of its data's size and the browser
// reads a few hundred kilobytes rather than megabytes. The page's script unpacks it. Standard
// C++ only; pure functions, safe from any thread.
#pragma once

#include <string>
#include <string_view>

// bytes as one final DEFLATE block with Huffman codes of its own (BTYPE 10): LZ77 matches over
// a 32 KiB window. Any inflater reads it.
std::string Deflate(std::string_view bytes);

// bytes in base64 (RFC 4648, with padding).
std::string Base64Text(std::string_view bytes);

// Base64Text(Deflate(text)).
std::string PackedText(std::string_view text);
