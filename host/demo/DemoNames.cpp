#include "host/demo/DemoNames.h"

namespace TDInvoice::Demo {
namespace {

constexpr const char *kFamilyNames[] = {
    "Nguyen",   "Smith",    "Williams", "Brown",    "Wilson",   "Taylor",       "Anderson",
    "Patel",    "Martin",   "Thompson", "White",    "O'Connor", "Kelly",        "Chen",
    "Walker",   "Harris",   "Lee",      "Ryan",     "Robinson", "Papadopoulos", "Singh",
    "King",     "Tran",     "Wright",   "Kaur",     "Murphy",   "Russo",        "Mitchell",
    "Campbell", "Nakamura", "Hughes",   "Edwards",  "Yilmaz",   "Fitzgerald",   "Le",
    "Morrison", "Haddad",   "Baker",    "McDonald", "Novak",    "Ali",          "Costa",
    "Fraser",   "Kim",      "Okafor",   "Sullivan", "Duncan",   "Ivanova",      "Gallagher",
    "Sharma",   "Reid",     "Zhang",    "Bennett",  "Moreno",   "Doyle",        "Hassan",
};

constexpr const char *kGirlNames[] = {
    "Charlotte", "Olivia", "Amelia", "Isla", "Mia",    "Ava",    "Grace",   "Chloe",
    "Zoe",       "Ruby",   "Sophie", "Lily", "Ella",   "Harper", "Matilda", "Evie",
    "Aaliyah",   "Mei",    "Priya",  "Anh",  "Sienna", "Willow", "Freya",   "Layla",
};

constexpr const char *kBoyNames[] = {
    "Oliver",  "Jack",  "William", "Noah",   "Thomas", "Lucas", "Henry", "Leo",
    "Charlie", "James", "Ethan",   "Archie", "Oscar",  "Liam",  "Hugo",  "Max",
    "Arjun",   "Minh",  "Kai",     "Finn",   "Ari",    "Zayd",  "Mateo", "Eli",
};

constexpr const char *kParentInitials[] = {"A", "B", "C", "D", "E", "J", "K", "L",
                                           "M", "N", "P", "R", "S", "T", "V", "Y"};

constexpr const char *kStreetNames[] = {
    "Banksia St",     "Wattle Ave",     "Bottlebrush Cl", "Grevillea Rd",      "Waratah Pde",
    "Jacaranda Cres", "Ironbark Way",   "Melaleuca Dr",   "Lilly Pilly Ct",    "Kurrajong St",
    "Blackbutt Rd",   "Casuarina Lane", "Boronia St",     "Flannel Flower Pl", "Angophora Ave",
    "Tallowwood St",  "Coolabah Rd",    "Paperbark Tce",
};

constexpr TSuburb kSuburbs[] = {
    {"ASHFIELD NSW", "2131"},  {"SUMMER HILL NSW", "2130"},  {"HABERFIELD NSW", "2045"},
    {"CROYDON NSW", "2132"},   {"DULWICH HILL NSW", "2203"}, {"LEICHHARDT NSW", "2040"},
    {"FIVE DOCK NSW", "2046"}, {"BURWOOD NSW", "2134"},      {"STANMORE NSW", "2048"},
    {"PETERSHAM NSW", "2049"}, {"MARRICKVILLE NSW", "2204"}, {"CONCORD NSW", "2137"},
};

} // namespace

std::span<const char *const> familyNames() { return kFamilyNames; }
std::span<const char *const> girlNames() { return kGirlNames; }
std::span<const char *const> boyNames() { return kBoyNames; }
std::span<const char *const> parentInitials() { return kParentInitials; }
std::span<const char *const> streetNames() { return kStreetNames; }
std::span<const TSuburb> suburbs() { return kSuburbs; }

} // namespace TDInvoice::Demo
