// The floor of opening a catalog, measured as a whole program: pugixml loads the file into a
// document (its own encoding detection included) and nothing else happens.
#include <pugixml.hpp>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    pugi::xml_document document;
    return document.load_file(argv[1]) ? 0 : 1;
}
