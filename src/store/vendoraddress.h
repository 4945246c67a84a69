#pragma once

#include <QUrl>

// The vendor's web address, home of the product page and of the version endpoint.
namespace VendorAddress
{

inline constexpr char environmentVariable[] = "QUILLSTASH_VENDOR_URL";

// The address set at build time, unless the environment names another absolute http(s)
// address; anything else in the environment is ignored.
QUrl webAddress();

} // namespace VendorAddress
