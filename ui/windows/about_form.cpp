#include "ui/forms/form_table_shorthand.h"
#include "ui/windows/control_ids.h"
#include "ui/windows/message_texts.h"
#include "ui/windows/window_tables.h"

namespace alearo {

const FormSpec& AboutFormSpec() {
    using namespace form_table;
    // 36 units wider than a box for an 8-point font would be, so that the
    // support address fits on its button in the wider fonts of Linux
    // desktops; the centred lines and the OK button keep to the middle.
    static const FormSpec spec{
        "About Alearo",
        172,
        98,
        {
            {-1, K::Icon, "", 0, 14, 7, 20, 20, "aboutIcon"},
            {-1, K::StaticText, "Alearo Version " ALEARO_VERSION_SHORT, G | C | E, 44, 8, 114, 19,
             "versionLine"},
            {control_id::kAboutOk, K::DefaultPushButton, "OK", G | T, 63, 81, 46, 14, "okButton"},
            {-1, K::StaticText, "Written by the Alearo developers.", G | C, 7, 32, 158, 8,
             "authorLine"},
            {-1, K::StaticText, "Email me at:", G | R, 15, 52, 42, 8, "emailLabel"},
            {-1, K::StaticText, "Questions, comments, suggestions?", G | C, 7, 41, 158, 8,
             "questionsLine"},
            {-1, K::StaticText, "Free software under the MIT licence.", G | C | E, 7, 69, 158, 10,
             "termsLine"},
            {control_id::kAboutEmail, K::PushButton, kSupportAddress, T | E, 61, 51, 104, 11,
             "emailButton"},
        },
    };
    return spec;
}

}  // namespace alearo
