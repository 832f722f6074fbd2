// The Publish dialog: the remembered server fields, profile files, and the Publish button.
#pragma once

struct App;
struct PublishFields;

// Opens the dialog (the Publish command); it stays open after a publish.
void ShowPublishDialog(App& app);

// The Publish button with the dialog's six boxes as typed: stores the profile, makes
// the page, publishes it and writes FtpProjs.ini.
void PressPublish(App& app, const PublishFields& boxes);
