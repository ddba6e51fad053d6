// QSettings backend of the settings store (being written).
