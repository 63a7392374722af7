# Dateien — deutsche Übersetzung (de-DE).

files-time-unknown = unbekannte Zeit

## Keyboard shortcuts

files-shortcuts-title = Tastenkürzel
files-shortcuts-summary = Tasten für die Arbeit in der Dateiliste
files-shortcuts-primary = Primärtaste: Strg auf den meisten Desktops, Befehl unter macOS
files-shortcuts-navigate = Auswahl bewegen: ↑ / ↓ · erstes und letztes Objekt: Pos1 / Ende · mit Umschalt erweitern · übergeordneter Ordner: Rücktaste
files-shortcuts-grid = In der Rasteransicht: ← / → / ↑ / ↓ wechseln zwischen Objekten
files-shortcuts-open = Fokussiertes Objekt öffnen: Eingabetaste oder Doppelklick · Ordner neu laden: F5
files-shortcuts-location = Ort eingeben: Primärtaste + L
files-shortcuts-new-folder = Neuer Ordner: Primärtaste + Umschalt + N
files-shortcuts-edit = Kopieren, Ausschneiden, Einfügen, Papierkorb-Aktion rückgängig, alles auswählen: Primärtaste + C / X / V / Z / A
files-shortcuts-hidden = Versteckte Dateien ein- oder ausblenden: Primärtaste + H
files-shortcuts-size = Objektgröße: Primärtaste + + / − / 0 oder Primärtaste + Mausrad
files-shortcuts-context = Kontextmenü: Menütaste · umbenennen: F2 · in den Papierkorb verschieben: Entf
files-shortcuts-close = Diese Übersicht anzeigen: ? oder F1 · Dialoge und Menüs schließen: Esc

## Availability actions and status

files-keep-offline = Offline verfügbar halten
files-use-automatic-storage = Automatische Speicherung verwenden
files-pinned-by-parent = Durch übergeordneten Ordner offline verfügbar
files-retry-download = Download wiederholen
files-free-local-space = Lokalen Speicher freigeben
files-no-pin-needed = Kein ausgewähltes Objekt muss offline verfügbar gehalten werden
files-no-direct-pin = Kein ausgewähltes Objekt ist direkt offline verfügbar
files-keeping-offline = { $count ->
    [one] 1 Objekt wird offline verfügbar gehalten
   *[other] { $count } Objekte werden offline verfügbar gehalten
}
files-using-automatic = { $count ->
    [one] Automatische Speicherung für 1 Objekt
   *[other] Automatische Speicherung für { $count } Objekte
}
files-offline-policy-failed = Offline-Speicherung konnte nicht geändert werden: { $errors }
files-no-retryable-transfer = Kein ausgewähltes Objekt hat eine Übertragung, die wiederholt werden kann
files-retrying-transfers = { $count ->
    [one] 1 Übertragung wird wiederholt
   *[other] { $count } Übertragungen werden wiederholt
}
files-retry-failed = Übertragung konnte nicht wiederholt werden: { $errors }
files-no-local-space-releasable = Für die ausgewählten Objekte kann kein lokaler Speicher freigegeben werden
files-freeing-local-space = { $count ->
    [one] Lokaler Speicher für 1 Objekt wird freigegeben
   *[other] Lokaler Speicher für { $count } Objekte wird freigegeben
}
files-free-local-space-failed = Lokaler Speicher konnte nicht freigegeben werden: { $errors }
files-eviction-needs-confirmation = Das Freigeben von lokalem Speicher muss bestätigt werden
files-destructive-eviction-title = Lokale Kopien ohne bestätigte Sicherung entfernen?
files-destructive-eviction-summary = { $count ->
    [one] Für 1 Objekt gibt es keine bestätigte Kopie auf einem anderen Gerät.
   *[other] Für { $count } Objekte gibt es keine bestätigte Kopie auf einem anderen Gerät.
}
files-destructive-eviction-no-replica = Vask konnte keine aktuelle, dauerhafte Kopie an anderer Stelle bestätigen.
files-destructive-eviction-loss = Wenn dieses Gerät die einzige Kopie hat, geht ihr Inhalt verloren.
files-destructive-eviction-protected = Offline verfügbar gehaltene Objekte werden auf diese Weise nie entfernt.
files-destructive-eviction-confirm = Lokale Kopien entfernen
files-destructive-eviction-started = { $count ->
    [one] Lokale Kopie von 1 Objekt wird entfernt
   *[other] Lokale Kopien von { $count } Objekten werden entfernt
}
files-permanent-delete-title = { $count ->
    [one] 1 Objekt endgültig löschen?
   *[other] { $count } Objekte endgültig löschen?
}
files-permanent-delete-summary = { $count ->
    [one] Das ausgewählte Objekt wird aus dem Papierkorb entfernt.
   *[other] Die { $count } ausgewählten Objekte werden aus dem Papierkorb entfernt.
}
files-permanent-delete-loss = Dies kann nicht rückgängig gemacht werden.
files-permanent-delete-confirm = Endgültig löschen
files-empty-trash-title = Papierkorb endgültig leeren?
files-empty-trash-summary = { $count ->
    [one] 1 Objekt wird aus dem Papierkorb entfernt.
   *[other] Alle { $count } Objekte werden aus dem Papierkorb entfernt.
}
files-empty-trash-confirm = Papierkorb leeren

## Properties and availability sheet

files-property-collaborative-record = Gemeinsamer Datensatz: { $record }
files-property-content = Inhalt: { $hash }…
files-residency-metadata-only = nur Metadaten
files-residency-partly-local = ein Teil des Inhalts ({ $bytes } Bytes)
files-residency-local = der gesamte Inhalt ({ $bytes } Bytes)
files-property-on-device = Auf diesem Gerät: { $state }
files-property-sharing = Freigabe: { $count } { $count ->
    [one] aktive Berechtigung
   *[other] aktive Berechtigungen
}
files-property-history = Verlauf: { $versions } { $versions ->
    [one] Version
   *[other] Versionen
}, { $conflicts } { $conflicts ->
    [one] offener Konflikt
   *[other] offene Konflikte
}
files-properties-collab-summary = Dateisystem-Metadaten und geprüfte gemeinsame Metadaten
files-availability-title = Verfügbarkeit — { $name }
files-availability-title-short = Verfügbarkeit…
files-not-stored = Nicht auf diesem Gerät gespeichert
files-partly-stored = Teilweise gespeichert ({ $bytes } Bytes)
files-stored = Auf diesem Gerät gespeichert ({ $bytes } Bytes)
files-kept-offline-parent = Durch einen übergeordneten Ordner offline verfügbar gehalten
files-kept-offline = Offline verfügbar gehalten
files-automatic-storage = Automatische Speicherung
files-replica-unverified = Die Sicherheit der Kopien wurde nicht geprüft
files-replica-counts = { $reachable } erreichbar, { $durable } { $durable ->
    [one] dauerhafte Kopie
   *[other] dauerhafte Kopien
}
files-transfer-state = Übertragung: { $state }
files-transfer-idle = keine
files-transfer-queued = in der Warteschlange
files-transfer-downloading = wird heruntergeladen
files-transfer-uploading = wird hochgeladen
files-transfer-verifying = wird geprüft

## Sharing

files-search-collaborative-records = Gemeinsame Dateien
files-search-record-provenance = { $path } · Datensatz { $record }
files-copy-one-time-link = Einmal-Link kopieren
files-share-composer-named = Mit { $person } teilen · { $permission } · { $expiry }
files-share-composer-link = Link teilen · { $permission } · { $expiry } · { $uses }
files-share-choice-view = darf ansehen
files-share-choice-edit = darf bearbeiten
files-share-choice-day = für 24 Stunden
files-share-choice-week = für 7 Tage
files-share-choice-month = für 30 Tage
files-share-choice-never = ohne Ablauf
files-share-choice-one-use = einmal nutzbar
files-share-choice-bounded-uses = bis zu { $count }-mal nutzbar
files-share-creating = Freigabe wird erstellt …
files-share-invalid-options = Diese Freigabeoptionen sind ungültig
files-share-link-needs-expiry = Freigabelinks müssen ein Ablaufdatum haben
files-share-invalid-uses = Freigabelinks brauchen eine Nutzungsgrenze von 1 bis 1.000
files-share-recipient-unreachable = Diese Person hat kein zertifiziertes Gerät, das die Freigabe empfangen kann
files-sharing-access = Freigabe und Zugriff…
files-share-with = Mit { $person } teilen
files-revoke-subject = Zugriff entziehen: { $subject }
files-shared-link = Freigabelink
files-share-link-pending = Ein Link kann erstellt werden, sobald die laufende Freigabeänderung abgeschlossen ist
files-share-change-pending = Eine andere Freigabeänderung läuft noch
files-select-collaborative-file = Wählen Sie eine Datei in einem gemeinsamen Arbeitsbereich aus
files-select-shared-file = Wählen Sie eine freigegebene Datei aus
files-sharing-unavailable = Für diese Datei ist keine Freigabe möglich
files-creating-one-use-link = Einmal-Link wird erstellt …
files-share-with-progress = Wird mit { $person } geteilt …
files-revoking-access = Zugriff wird entzogen …
files-not-shared = Mit niemandem geteilt
files-anyone-link = Alle, die den Link haben
files-can-view = darf ansehen
files-can-edit = darf bearbeiten
files-grant-active = aktiv
files-grant-expired = abgelaufen
files-grant-revoked = entzogen
files-grant-exhausted = aufgebraucht
files-no-expiry = ohne Ablauf
files-expires = läuft ab am { $time }
files-share-grant-line = { $subject } · { $permission } · { $status } · { $expiry }
files-sharing-title = Freigabe — { $name }
files-certified-devices = { $person } ({ $devices })
files-certified-device-detail = { $device } · Schlüssel { $fingerprint } · { $capabilities } · ausgestellt am { $issued } · { $expiry }
files-device-cap-own = verwaltet Arbeitsbereiche
files-device-cap-admit = nimmt Geräte auf
files-device-cap-host = vertrauenswürdiger Host
files-device-cap-read-all = liest alle Arbeitsbereiche
files-device-cap-member = Mitgliedsgerät
files-sharing-summary = { $count ->
    [one] 1 aktive Berechtigung
   *[other] { $count } aktive Berechtigungen
}
files-link-copied = Link in die Zwischenablage kopiert
files-share-created = Freigabe erstellt
files-share-created-pending = Mit { $person } geteilt; die Zustellung an die Geräte steht noch aus
files-share-created-delivered = Mit { $person } geteilt und an die Geräte zugestellt
files-access-revoked = Zugriff entzogen
files-share-inactive = Dieser Zugriff war bereits inaktiv

## History and conflict resolution

files-version-history = Versionsverlauf
files-restore-previous = Vorherige Version wiederherstellen…
files-resolve-keep-current = Konflikt { $conflict }: Aktuelle Version behalten
files-resolve-use-other = Konflikt { $conflict }: Version von { $device } verwenden
files-history-version-line = { $action } · { $person } · { $time }
files-history-older = Ältere Versionen
files-conflict-needs-review = Diese Datei hat einen Versionskonflikt, der geprüft werden muss
files-conflict-resolved-strategy = Konflikt gelöst: { $strategy }
files-conflict-resolved = Konflikt gelöst
files-strategy-keep-current = Aktuelle behalten
files-strategy-use-other = Andere Version verwenden
files-strategy-keep-both = Beide behalten
files-strategy-merge = Zusammenführen
files-conflict-line = Konflikt { $conflict } zwischen { $count ->
    [one] 1 Version
   *[other] { $count } Versionen
}
files-conflict-resolve-hint = Wählen Sie im Kontextmenü der Datei, welche Version erhalten bleibt.
files-conflict-unsupported-hint = Diese Art von Konflikt kann hier noch nicht gelöst werden.
files-history-title = Versionsverlauf — { $name }
files-history-summary = { $versions } { $versions ->
    [one] Version
   *[other] Versionen
}, { $heads } { $heads ->
    [one] aktueller Stand
   *[other] aktuelle Stände
}
files-history-change-pending = Eine andere Änderung am Verlauf läuft noch
files-select-file-with-history = Wählen Sie eine Datei mit Versionsverlauf aus
files-version-restored = Version wiederhergestellt
files-restoring-version = Version wird wiederhergestellt …
files-keeping-current = Aktuelle Version wird behalten …
files-applying-other = Andere Version wird übernommen …
files-merging-versions = Beide Versionen werden zusammengeführt …
files-merge-review-menu = Zusammenführung prüfen
files-merge-review-title = Zusammenführung prüfen — { $name }
files-merge-review-summary = Prüfen, ob sich beide Änderungen sicher zusammenführen lassen
files-merge-review-checking = Es wird geprüft, ob sich beide Änderungen zusammenführen lassen …
files-merge-review-checking-detail = Vask vergleicht beide Änderungen mit ihrer gemeinsamen Grundlage. Währenddessen wird nichts verändert.
files-merge-review-safe = Beide Änderungen lassen sich sicher zusammenführen
files-merge-review-needs-review = Diese Änderungen müssen Sie selbst prüfen
files-merge-review-unavailable = Für diesen Konflikt ist keine Prüfung der Zusammenführung verfügbar.
files-merge-review-no-apply = Es wird nichts zusammengeführt. Sie können beide Versionen behalten oder im Kontextmenü der Datei eine auswählen.
files-merge-review-incoming = Eingehende Änderungen von Gerät { $device }
files-merge-review-diff = Änderungen: { $summary }
files-merge-review-guard = Es werden nur Änderungen zusammengeführt, die sich nicht überschneiden.
files-merge-review-undo = Die Zusammenführung wird im Versionsverlauf festgehalten, sodass sich jede der beiden Versionen später wiederherstellen lässt.
files-merge-apply-safe = Sicher zusammenführen
files-merge-apply-safe-detail = Vereint beide Änderungen in einer neuen Version; beide Ausgangsversionen bleiben im Verlauf erhalten.
files-conflict-workflow-required = Lösen Sie zuerst den Versionskonflikt
files-conflict-resolved-signed = Konflikt mit einem signierten Verlaufseintrag gelöst
files-history-change-saved = Änderung am Verlauf gespeichert
files-history-action-created = Erstellt
files-history-action-edited = Bearbeitet
files-history-action-renamed = Umbenannt
files-history-action-moved = Verschoben
files-history-action-deleted = Gelöscht
files-history-action-conflict-resolved = Konflikt gelöst
files-history-action-restored = Wiederhergestellt
files-history-action-changed = Geändert
files-history-current-version = Aktuelle Version
files-history-timeline-detail = { $action } von { $person } auf { $device } · { $time }
files-history-preview-title = Version vom { $time }
files-history-compare-title = Mit der aktuellen Version vergleichen
files-history-selected-action = Änderung: { $action }
files-history-selected-by = Von: { $person }
files-history-selected-at = Zeitpunkt: { $time }
files-history-version-id = Version: { $id }
files-history-content-identity = Inhaltskennung: { $hash }…
files-history-metadata-identity = Metadatenkennung: { $hash }…
files-history-no-content = Diese Version hat keinen Inhalt
files-history-compare-content = Inhalt: { $state }
files-history-compare-metadata = Metadaten: { $state }
files-history-same = wie in der aktuellen Version
files-history-different = anders als in der aktuellen Version
files-history-show-activity = Aktivität anzeigen
files-history-compare = Vergleichen
files-history-hide-compare = Vergleich ausblenden
files-history-restore-selected = Diese Version wiederherstellen
files-history-current-version-label = Aktuell
files-history-timeline-a11y = Versionszeitleiste
files-history-timeline-a11y-item = { $title }, { $details }

## Accessible collaborative state

files-a11y-transfer-failed = Übertragung fehlgeschlagen
files-a11y-transfer-queued = Übertragung in der Warteschlange
files-a11y-downloading = Wird heruntergeladen
files-a11y-uploading = Wird hochgeladen
files-a11y-verifying = Wird geprüft
files-a11y-online-only = Nur online
files-a11y-partly-offline = Teilweise offline verfügbar
files-a11y-available-offline = Offline verfügbar
files-a11y-kept-offline-parent = Durch einen übergeordneten Ordner offline verfügbar gehalten
files-a11y-kept-offline = Offline verfügbar gehalten
files-a11y-replica-unknown = Sicherheit der Kopien nicht geprüft
files-a11y-durably-replicated = Dauerhaft repliziert
files-a11y-not-durably-replicated = Nicht dauerhaft repliziert
files-a11y-shared-recipients = { $count ->
    [one] Mit 1 Person geteilt
   *[other] Mit { $count } Personen geteilt
}
files-a11y-version-conflict = Versionskonflikt

## Service and received-share errors/status

files-history-encode-failed = Die Anfrage an den Verlauf konnte nicht vorbereitet werden
files-history-request-too-large = Die Anfrage an den Verlauf ist zu groß
files-history-restore-failed = Die Version konnte nicht wiederhergestellt werden: { $error }
files-conflict-strategy-unsupported = Diese Art der Konfliktlösung wird nicht unterstützt
files-conflict-encode-failed = Die Konfliktlösung konnte nicht vorbereitet werden
files-conflict-request-too-large = Die Anfrage zur Konfliktlösung ist zu groß
files-conflict-resolve-failed = Der Konflikt konnte nicht gelöst werden: { $error }
files-share-wrong-response = Der Freigabedienst hat unerwartet geantwortet
files-share-runtime-failed = Der Freigabe-Client konnte nicht gestartet werden: { $error }
files-share-unavailable-error = Der Freigabedienst ist nicht erreichbar: { $error }
files-share-encode-failed = Die Freigabeanfrage konnte nicht vorbereitet werden: { $error }
files-share-request-too-large = Die Freigabeanfrage ist zu groß
files-share-request-failed = Die Freigabeanfrage konnte nicht gesendet werden: { $error }
files-share-flush-failed = Die Freigabeanfrage konnte nicht vollständig gesendet werden: { $error }
files-share-no-response = Der Freigabedienst hat nicht geantwortet: { $error }
files-share-response-too-large = Die Antwort des Freigabedienstes ist zu groß
files-share-response-truncated = Die Antwort des Freigabedienstes ist unvollständig: { $error }
files-share-response-invalid = Die Antwort des Freigabedienstes ist nicht lesbar: { $error }
files-share-refused = Der Freigabedienst hat die Anfrage abgelehnt ({ $code })
files-received-refused = Der Empfangsdienst hat den Link abgelehnt ({ $code })
files-received-retry-refused = Der Empfangsdienst hat die Wiederholung abgelehnt ({ $code })
files-received-wrong-response = Der Empfangsdienst hat unerwartet geantwortet
files-received-runtime-failed = Der Empfangs-Client konnte nicht gestartet werden: { $error }
files-received-encode-failed = Die Anfrage für die geteilte Datei konnte nicht vorbereitet werden
files-received-request-too-large = Die Anfrage für die geteilte Datei ist zu groß
files-received-unavailable = Der Link konnte nicht an den Empfangsdienst gesendet werden
files-received-no-response = Der Empfangsdienst hat nicht geantwortet
files-received-response-too-large = Die Antwort des Empfangsdienstes ist zu groß
files-received-response-truncated = Die Antwort des Empfangsdienstes ist unvollständig
files-received-response-invalid = Die Antwort des Empfangsdienstes ist nicht lesbar
files-received-not-available = Der Empfangsdienst ist nicht verfügbar
files-received-fd-clone-failed = Es konnte keine Verbindung zum Empfangsdienst geöffnet werden
files-received-fd-invalid = Die Verbindung zum Empfangsdienst ist nicht nutzbar
files-received-file = Geteilte Datei empfangen
files-received-mount-starting = Geteilte Datei angenommen; das Einhängen beginnt
files-received-admitted = Geteilte Datei angenommen
files-received-link-read-failed = Der Link zur geteilten Datei konnte nicht gelesen werden
files-received-link-too-large = Der Link zur geteilten Datei ist zu lang
files-received-link-invalid-text = Der Link zur geteilten Datei ist kein gültiger Text
files-received-link-empty = Der Link zur geteilten Datei ist leer

## Application chrome and navigation

files-app-title = Dateien
files-back = Zurück
files-forward = Vorwärts
files-up = Eine Ebene nach oben
files-view-list = Liste
files-view-grid = Raster
files-sort-by = Sortieren nach
files-view-options = Ansichtsoptionen
files-path-placeholder = Pfad eingeben, z. B. ~/Dokumente
files-place-home = Persönlicher Ordner
files-place-favourites = Favoriten
files-place-favorites = Favoriten
files-place-system = System
files-place-root = Wurzelverzeichnis
files-place-trash = Papierkorb
files-place-workspace = Arbeitsbereich
files-place-documents = Dokumente
files-place-downloads = Downloads
files-place-pictures = Bilder
files-place-music = Musik
files-place-videos = Videos

## List, empty/error state and accessibility

files-column-name = Name
files-column-size = Größe
files-column-modified = Geändert
files-try-again = Erneut versuchen
files-loading = Wird geladen …
files-loading-folder = { $path } wird geöffnet …
files-loading-title = Ordner wird geöffnet
files-loading-detail = { $path } wird gelesen
files-directory-read-failed = Dieser Ordner konnte nicht geöffnet werden: { $error }
files-load-error-title = Ordner konnte nicht geöffnet werden
files-load-error-detail = { $error } · { $path }
files-a11y-load-error = { $error }. Drücken Sie die Eingabetaste, um es erneut zu versuchen
files-a11y-panel-details = Details
files-a11y-dialog-close = { $summary }. Zum Schließen Esc drücken
files-a11y-activity = Aktivität in Dateien
files-a11y-current-folder = Aktueller Ordner: { $path }
files-a11y-places = Orte
files-a11y-favourite = Favorit
files-a11y-system-location = Systemort
files-a11y-place-description = { $section }, { $path }
files-a11y-breadcrumbs = Pfadleiste
files-a11y-current-breadcrumb = Aktueller Ordner, { $path }. Eingabetaste drücken, um den Pfad zu bearbeiten
files-a11y-open-folder = { $path } öffnen
files-empty-trash = Der Papierkorb ist leer
files-empty-folder = Dieser Ordner ist leer
files-item-count = { $count } { $count ->
    [one] Objekt
   *[other] Objekte
}
files-selected-count = { $base }  ·  { $count } ausgewählt
files-a11y-list = Dateien
files-a11y-folder = Ordner
files-a11y-file = Datei, { $size }
files-new-name-placeholder = Neuer Name

## Properties

files-property-type = Typ: { $type }
files-property-location = Ort: { $location }
files-property-size = Größe: { $size }
files-property-modified = Geändert: { $time }
files-property-dimensions = Abmessungen: { $width } × { $height } px
files-property-duration = Dauer: { $duration }
files-property-pages = Seiten: { $count }
files-property-codec = Codec: { $codec }
files-property-container = Container: { $container }
files-property-unknown = Unbekannt
files-properties-title = Eigenschaften — { $name }
files-properties-summary = Dateisystem-Metadaten

## Ordinary operation results

files-new-folder-default-name = Neuer Ordner
files-created-folder = Ordner erstellt
files-new-folder-failed = Neuer Ordner fehlgeschlagen: { $error }
files-permanently-deleted = { $count ->
    [one] 1 Objekt endgültig gelöscht
   *[other] { $count } Objekte endgültig gelöscht
}
files-delete-failed = Löschen fehlgeschlagen: { $error }
files-moved-to-trash = { $count ->
    [one] 1 Objekt in den Papierkorb verschoben
   *[other] { $count } Objekte in den Papierkorb verschoben
}
files-restored = { $count ->
    [one] 1 Objekt aus dem Papierkorb wiederhergestellt
   *[other] { $count } Objekte aus dem Papierkorb wiederhergestellt
}
files-undo-move-trash = Verschieben in den Papierkorb rückgängig machen
files-undo-trash-restored = { $count ->
    [one] 1 Objekt
   *[other] { $count } Objekte
} wiederhergestellt
files-undo-trash-unavailable = Rückgängig ist nicht mehr möglich, weil sich der Papierkorb geändert hat
files-undo-trash-failed = Die Objekte im Papierkorb konnten nicht wiederhergestellt werden: { $error }
files-restore-failed = Wiederherstellen fehlgeschlagen: { $error }
files-trash-already-empty = Der Papierkorb ist bereits leer
files-emptied-trash = Papierkorb geleert ({ $count })
files-empty-trash-failed = Leeren des Papierkorbs fehlgeschlagen: { $error }
files-copied = { $count ->
    [one] 1 Objekt kopiert
   *[other] { $count } Objekte kopiert
}
files-cut = { $count ->
    [one] 1 Objekt ausgeschnitten
   *[other] { $count } Objekte ausgeschnitten
}
files-created-file = Datei erstellt
files-new-file-failed = Neue Datei fehlgeschlagen: { $error }
files-added-favourite = Zu den Favoriten hinzugefügt
files-removed-favourite = Aus den Favoriten entfernt
files-moved-with-failures = { $moved } nach „{ $destination }“ verschoben ({ $failed } fehlgeschlagen)
files-moved-to-folder = { $count ->
    [one] 1 Objekt nach „{ $destination }“ verschoben
   *[other] { $count } Objekte nach „{ $destination }“ verschoben
}
files-nothing-to-move = Nichts zu verschieben
files-pasted = { $count ->
    [one] 1 Objekt eingefügt
   *[other] { $count } Objekte eingefügt
}
files-pasted-with-failures = { $count } eingefügt ({ $failed } fehlgeschlagen)
files-renamed = Umbenannt
files-rename-failed = Umbenennen fehlgeschlagen: { $error }

## Context, view and sort menus

files-menu-open = Öffnen
files-action-reveal = In Dateien anzeigen
files-menu-restore = Wiederherstellen
files-menu-delete-permanently = Endgültig löschen
files-menu-empty-trash = Papierkorb leeren
files-menu-rename = Umbenennen
files-action-rename-prompt = Neuer Name für das Objekt
files-menu-cut = Ausschneiden
files-menu-copy = Kopieren
files-menu-properties = Eigenschaften…
files-menu-paste = Einfügen
files-menu-new-folder = Neuer Ordner
files-menu-new-file = Neue Datei  ›
files-menu-move-trash = In den Papierkorb verschieben
files-menu-add-favourite = Zu den Favoriten hinzufügen
files-menu-remove-favourite = Aus den Favoriten entfernen
files-menu-hide-hidden = Versteckte Dateien ausblenden
files-menu-show-hidden = Versteckte Dateien anzeigen
files-menu-sort-name = Nach Name sortieren
files-menu-sort-size = Nach Größe sortieren
files-menu-sort-type = Nach Typ sortieren
files-menu-sort-date = Nach Änderungsdatum sortieren
files-menu-open-terminal = Terminal hier öffnen
files-sort-name = Name
files-sort-size = Größe
files-sort-type = Typ
files-sort-date = Änderungsdatum
files-sort-ascending = Aufsteigend
files-sort-descending = Absteigend
files-new-from-template = Neu: { $name }
files-drag-items = { $count } Objekte

## Archives

files-archive-extract = Archiv entpacken…
files-archive-extract-here = Hier entpacken
files-archive-compress = Als ZIP komprimieren
files-archive-select-compress = Wählen Sie Dateien oder Ordner zum Komprimieren aus
files-archive-read-only = Archive sind schreibgeschützt, bis sie entpackt werden
files-archive-open-after-extract = Entpacken Sie dieses Archiv, um die enthaltenen Dateien zu öffnen oder zu bearbeiten
files-archive-select = Wählen Sie ein ZIP-, TAR- oder TAR.GZ-Archiv zum Entpacken aus
files-archive-extracted = { $count ->
    [one] 1 Datei entpackt
   *[other] { $count } Dateien entpackt
}
files-archive-extracted-partial = { $count } Dateien entpackt; { $failures }
files-archive-extract-failed = Archiv konnte nicht entpackt werden: { $error }
files-archive-created = { $name } erstellt
files-archive-create-failed = Archiv konnte nicht erstellt werden: { $error }

## File-operation validation

files-folder-name-empty = Der Ordnername darf nicht leer sein
files-folder-name-slash = Der Ordnername darf kein „/“ enthalten
files-name-empty = Der Name darf nicht leer sein
files-name-slash = Der Name darf kein „/“ enthalten
files-no-parent = Kein übergeordneter Ordner
files-name-exists = „{ $name }“ existiert bereits
files-destination-inspect-failed = „{ $path }“ kann nicht geprüft werden: { $error }
files-destination-names-exhausted = Zu viele Dateien namens „{ $name }“ in „{ $path }“. Wählen Sie einen anderen Namen oder Ordner.
files-source-no-name = Die Quelle hat keinen Dateinamen
files-menu-send-nearby = An Gerät in der Nähe senden…
files-action-send-nearby-device = An { $device } senden
files-nearby-send-to-device = An { $device } senden
files-nearby-select-one = Wählen Sie genau eine Datei oder einen Ordner zum Senden aus.
files-nearby-loading-devices = Ihre zertifizierten Geräte werden gesucht …
files-nearby-no-devices = Es ist kein zertifiziertes Gerät online.
files-nearby-choose-device = Wählen Sie ein zertifiziertes Gerät aus.
files-nearby-queueing = Sichere Nahübertragung wird vorbereitet …
files-nearby-accepted = Nahübertragung angenommen.
files-nearby-declined = Nahübertragung abgelehnt.
files-nearby-cancelled = Nahübertragung abgebrochen.
files-nearby-retrying = Nahübertragung wird wiederholt …
files-nearby-accept = Annehmen
files-nearby-retry = Wiederholen
files-nearby-consent-detail = Es wird nichts gespeichert, bevor Sie genau diese Übertragung annehmen.
files-nearby-retry-detail = Die Quelle ist weiterhin verfügbar, daher kann diese fortsetzbare Übertragung gefahrlos wiederholt werden.
files-nearby-offer-title = Nahübertragung von { $device }
files-nearby-offer-summary = { $name } empfangen?
files-nearby-offer-size = Übertragungsgröße: { $bytes } Bytes
files-nearby-failed-title = Nahübertragung fehlgeschlagen
files-nearby-failed-device = Zertifiziertes Gerät: { $device }
files-nearby-choose-destination = Speicherort auswählen
files-nearby-no-destinations = Es ist kein zugelassener, beschreibbarer Ordner im Arbeitsbereich verfügbar.
files-nearby-destination-count = Wählen Sie aus { $count } zugelassenen Speicherorten.
files-nearby-save-to-destination = In { $destination } speichern
files-nearby-save-and-remember = In { $destination } speichern und für diese Sitzung verwenden
files-share-not-available = Freigabe ist hier nicht verfügbar
files-name-invalid = Der Name ist ungültig
