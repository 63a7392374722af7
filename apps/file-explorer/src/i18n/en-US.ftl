# Files — source locale (en-US).
# Collaboration, availability, history and received-share surfaces are the
# first migrated tranche. Variables are data, never preformatted Fluent source.

files-time-unknown = unknown time

## Keyboard shortcuts

files-shortcuts-title = Keyboard Shortcuts
files-shortcuts-summary = Keys for working in the file list
files-shortcuts-primary = Primary modifier: Ctrl on most desktops, Command on macOS
files-shortcuts-navigate = Move the selection: ↑ / ↓ · first and last item: Home / End · hold Shift to extend · parent folder: Backspace
files-shortcuts-grid = In grid view: ← / → / ↑ / ↓ move between items
files-shortcuts-open = Open the focused item: Enter or double-click · reload the folder: F5
files-shortcuts-location = Type a location: Primary + L
files-shortcuts-new-folder = New folder: Primary + Shift + N
files-shortcuts-edit = Copy, cut, paste, undo Trash, select all: Primary + C / X / V / Z / A
files-shortcuts-hidden = Show or hide hidden files: Primary + H
files-shortcuts-size = Item size: Primary + + / − / 0, or Primary + scroll wheel
files-shortcuts-context = Context menu: Menu key · rename: F2 · move to Trash: Delete
files-shortcuts-close = Show this reference: ? or F1 · close sheets and menus: Escape

## Availability actions and status

files-keep-offline = Keep Offline
files-use-automatic-storage = Use Automatic Storage
files-pinned-by-parent = Kept Offline by Parent Folder
files-retry-download = Retry Download
files-free-local-space = Free Local Space
files-no-pin-needed = No selected item needs to be kept offline
files-no-direct-pin = No selected item is kept offline directly
files-keeping-offline = { $count ->
    [one] Keeping 1 item offline
   *[other] Keeping { $count } items offline
}
files-using-automatic = { $count ->
    [one] Using automatic storage for 1 item
   *[other] Using automatic storage for { $count } items
}
files-offline-policy-failed = Could not change offline storage: { $errors }
files-no-retryable-transfer = No selected item has a transfer to retry
files-retrying-transfers = { $count ->
    [one] Retrying 1 transfer
   *[other] Retrying { $count } transfers
}
files-retry-failed = Could not retry the transfer: { $errors }
files-no-local-space-releasable = No local space can be freed for the selected items
files-freeing-local-space = { $count ->
    [one] Freeing local space for 1 item
   *[other] Freeing local space for { $count } items
}
files-free-local-space-failed = Could not free local space: { $errors }
files-eviction-needs-confirmation = Freeing local space needs your confirmation
files-destructive-eviction-title = Remove Local Copies Without a Verified Backup?
files-destructive-eviction-summary = { $count ->
    [one] 1 item has no verified copy on another device.
   *[other] { $count } items have no verified copy on another device.
}
files-destructive-eviction-no-replica = Vask could not confirm a fresh, durable copy anywhere else.
files-destructive-eviction-loss = If this device holds the only copy, its content will be lost.
files-destructive-eviction-protected = Items kept offline are never removed this way.
files-destructive-eviction-confirm = Remove Local Copies
files-destructive-eviction-started = { $count ->
    [one] Removing the local copy of 1 item
   *[other] Removing the local copies of { $count } items
}
files-permanent-delete-title = { $count ->
    [one] Permanently delete 1 item?
   *[other] Permanently delete { $count } items?
}
files-permanent-delete-summary = { $count ->
    [one] The selected item will be removed from Trash.
   *[other] The { $count } selected items will be removed from Trash.
}
files-permanent-delete-loss = This cannot be undone.
files-permanent-delete-confirm = Delete Permanently
files-empty-trash-title = Permanently empty Trash?
files-empty-trash-summary = { $count ->
    [one] 1 item will be removed from Trash.
   *[other] All { $count } items will be removed from Trash.
}
files-empty-trash-confirm = Empty Trash

## Properties and availability sheet

files-property-collaborative-record = Collaborative record: { $record }
files-property-content = Content: { $hash }…
files-residency-metadata-only = metadata only
files-residency-partly-local = part of the content ({ $bytes } bytes)
files-residency-local = all content ({ $bytes } bytes)
files-property-on-device = On this device: { $state }
files-property-sharing = Sharing: { $count } active { $count ->
    [one] grant
   *[other] grants
}
files-property-history = History: { $versions } { $versions ->
    [one] version
   *[other] versions
}, { $conflicts } open { $conflicts ->
    [one] conflict
   *[other] conflicts
}
files-properties-collab-summary = Filesystem and verified collaborative metadata
files-availability-title = Availability — { $name }
files-availability-title-short = Availability…
files-not-stored = Not stored on this device
files-partly-stored = Partly stored ({ $bytes } bytes)
files-stored = Stored on this device ({ $bytes } bytes)
files-kept-offline-parent = Kept offline by a parent folder
files-kept-offline = Kept offline
files-automatic-storage = Automatic storage
files-replica-unverified = Replica safety has not been verified
files-replica-counts = { $reachable } reachable, { $durable } durable { $durable ->
    [one] replica
   *[other] replicas
}
files-transfer-state = Transfer: { $state }
files-transfer-idle = idle
files-transfer-queued = queued
files-transfer-downloading = downloading
files-transfer-uploading = uploading
files-transfer-verifying = verifying

## Sharing

files-search-collaborative-records = Collaborative files
files-search-record-provenance = { $path } · record { $record }
files-copy-one-time-link = Copy One-Time Link
files-share-composer-named = Share with { $person } · { $permission } · { $expiry }
files-share-composer-link = Share Link · { $permission } · { $expiry } · { $uses }
files-share-choice-view = can view
files-share-choice-edit = can edit
files-share-choice-day = for 24 hours
files-share-choice-week = for 7 days
files-share-choice-month = for 30 days
files-share-choice-never = no expiry
files-share-choice-one-use = one use
files-share-choice-bounded-uses = up to { $count } uses
files-share-creating = Creating the share…
files-share-invalid-options = These sharing options are not valid
files-share-link-needs-expiry = Share links must have an expiry
files-share-invalid-uses = Share links require a use limit from 1 to 1,000
files-share-recipient-unreachable = This person has no certified device to receive the share
files-sharing-access = Sharing and Access…
files-share-with = Share with { $person }
files-revoke-subject = Revoke Access: { $subject }
files-shared-link = shared link
files-share-link-pending = A link can be created once the current sharing change has finished
files-share-change-pending = Another sharing change is still in progress
files-select-collaborative-file = Select a file in a collaborative workspace
files-select-shared-file = Select a shared file
files-sharing-unavailable = Sharing is not available for this file
files-creating-one-use-link = Creating a one-time link…
files-share-with-progress = Sharing with { $person }…
files-revoking-access = Revoking access…
files-not-shared = Not shared with anyone
files-anyone-link = Anyone with the link
files-can-view = can view
files-can-edit = can edit
files-grant-active = active
files-grant-expired = expired
files-grant-revoked = revoked
files-grant-exhausted = used up
files-no-expiry = no expiry
files-expires = expires { $time }
files-share-grant-line = { $subject } · { $permission } · { $status } · { $expiry }
files-sharing-title = Sharing — { $name }
files-certified-devices = { $person } ({ $devices })
files-certified-device-detail = { $device } · key { $fingerprint } · { $capabilities } · issued { $issued } · { $expiry }
files-device-cap-own = manages workspaces
files-device-cap-admit = admits devices
files-device-cap-host = trusted host
files-device-cap-read-all = reads all workspaces
files-device-cap-member = member device
files-sharing-summary = { $count ->
    [one] 1 active grant
   *[other] { $count } active grants
}
files-link-copied = Link copied to the clipboard
files-share-created = Share created
files-share-created-pending = Shared with { $person }; delivery to their devices is pending
files-share-created-delivered = Shared with { $person } and delivered to their devices
files-access-revoked = Access revoked
files-share-inactive = This access was already inactive

## History and conflict resolution

files-version-history = Version History
files-restore-previous = Restore Previous Version…
files-resolve-keep-current = Conflict { $conflict }: Keep Current Version
files-resolve-use-other = Conflict { $conflict }: Use Version from { $device }
files-history-version-line = { $action } · { $person } · { $time }
files-history-older = Older versions
files-conflict-needs-review = This file has a version conflict that needs review
files-conflict-resolved-strategy = Conflict resolved: { $strategy }
files-conflict-resolved = Conflict resolved
files-strategy-keep-current = Keep Current
files-strategy-use-other = Use Other Version
files-strategy-keep-both = Keep Both
files-strategy-merge = Merge
files-conflict-line = Conflict { $conflict } between { $count ->
    [one] 1 version
   *[other] { $count } versions
}
files-conflict-resolve-hint = Choose which version to keep from the file’s context menu.
files-conflict-unsupported-hint = Files cannot resolve this kind of conflict yet.
files-history-title = Version History — { $name }
files-history-summary = { $versions } { $versions ->
    [one] version
   *[other] versions
}, { $heads } current { $heads ->
    [one] head
   *[other] heads
}
files-history-change-pending = Another history change is still in progress
files-select-file-with-history = Select a file with version history
files-version-restored = Version restored
files-restoring-version = Restoring the version…
files-keeping-current = Keeping the current version…
files-applying-other = Applying the other version…
files-merging-versions = Merging both versions…
files-merge-review-menu = Review Merge
files-merge-review-title = Review Merge — { $name }
files-merge-review-summary = Check whether both changes can be combined safely
files-merge-review-checking = Checking whether both changes can be merged…
files-merge-review-checking-detail = Vask is comparing both changes with their shared base. Nothing is changed while this runs.
files-merge-review-safe = Both changes can be merged safely
files-merge-review-needs-review = These changes need your review
files-merge-review-unavailable = No merge check is available for this conflict.
files-merge-review-no-apply = Nothing will be merged. You can keep both versions or choose one from the file’s context menu.
files-merge-review-incoming = Incoming changes from device { $device }
files-merge-review-diff = Changes: { $summary }
files-merge-review-guard = Only changes that do not overlap are merged.
files-merge-review-undo = The merge is recorded in the version history, so either version can be restored later.
files-merge-apply-safe = Apply Safe Merge
files-merge-apply-safe-detail = Combines both changes into a new version; both originals stay in the history.
files-conflict-workflow-required = Resolve the version conflict first
files-conflict-resolved-signed = Conflict resolved with a signed history entry
files-history-change-saved = History change saved
files-history-action-created = Created
files-history-action-edited = Edited
files-history-action-renamed = Renamed
files-history-action-moved = Moved
files-history-action-deleted = Deleted
files-history-action-conflict-resolved = Conflict resolved
files-history-action-restored = Restored
files-history-action-changed = Changed
files-history-current-version = Current version
files-history-timeline-detail = { $action } by { $person } on { $device } · { $time }
files-history-preview-title = Version from { $time }
files-history-compare-title = Compare with the Current Version
files-history-selected-action = Change: { $action }
files-history-selected-by = By: { $person }
files-history-selected-at = When: { $time }
files-history-version-id = Version: { $id }
files-history-content-identity = Content identity: { $hash }…
files-history-metadata-identity = Metadata identity: { $hash }…
files-history-no-content = This version has no content
files-history-compare-content = Content: { $state }
files-history-compare-metadata = Metadata: { $state }
files-history-same = same as the current version
files-history-different = different from the current version
files-history-show-activity = Show Activity
files-history-compare = Compare
files-history-hide-compare = Hide Comparison
files-history-restore-selected = Restore This Version
files-history-current-version-label = Current
files-history-timeline-a11y = Version timeline
files-history-timeline-a11y-item = { $title }, { $details }

## Accessible collaborative state

files-a11y-transfer-failed = Transfer failed
files-a11y-transfer-queued = Transfer queued
files-a11y-downloading = Downloading
files-a11y-uploading = Uploading
files-a11y-verifying = Verifying
files-a11y-online-only = Online only
files-a11y-partly-offline = Partly available offline
files-a11y-available-offline = Available offline
files-a11y-kept-offline-parent = Kept offline by a parent folder
files-a11y-kept-offline = Kept offline
files-a11y-replica-unknown = Replica safety not verified
files-a11y-durably-replicated = Durably replicated
files-a11y-not-durably-replicated = Not durably replicated
files-a11y-shared-recipients = { $count ->
    [one] Shared with 1 recipient
   *[other] Shared with { $count } recipients
}
files-a11y-version-conflict = Version conflict

## Service and received-share errors/status

files-history-encode-failed = Could not prepare the history request
files-history-request-too-large = History request is too large
files-history-restore-failed = Could not restore the version: { $error }
files-conflict-strategy-unsupported = This way of resolving the conflict is not supported
files-conflict-encode-failed = Could not prepare the conflict resolution
files-conflict-request-too-large = Conflict resolution request is too large
files-conflict-resolve-failed = Could not resolve the conflict: { $error }
files-share-wrong-response = Share service sent an unexpected answer
files-share-runtime-failed = Could not start the sharing client: { $error }
files-share-unavailable-error = Share service is not reachable: { $error }
files-share-encode-failed = Could not prepare the share request: { $error }
files-share-request-too-large = Share request is too large
files-share-request-failed = Could not send the share request: { $error }
files-share-flush-failed = Could not finish sending the share request: { $error }
files-share-no-response = Share service did not answer: { $error }
files-share-response-too-large = Share service’s answer is too large
files-share-response-truncated = Share service’s answer was cut short: { $error }
files-share-response-invalid = Share service’s answer could not be read: { $error }
files-share-refused = Share service refused the request ({ $code })
files-received-refused = Received-file service refused the link ({ $code })
files-received-retry-refused = Received-file service refused the retry ({ $code })
files-received-wrong-response = Received-file service sent an unexpected answer
files-received-runtime-failed = Could not start the received-file client: { $error }
files-received-encode-failed = Could not prepare the shared-file request
files-received-request-too-large = Shared-file request is too large
files-received-unavailable = Could not send the link to the received-file service
files-received-no-response = Received-file service did not answer
files-received-response-too-large = Received-file service’s answer is too large
files-received-response-truncated = Received-file service’s answer was cut short
files-received-response-invalid = Received-file service’s answer could not be read
files-received-not-available = Received-file service is not available
files-received-fd-clone-failed = Could not open a connection to the received-file service
files-received-fd-invalid = Connection to the received-file service is not usable
files-received-file = Received shared file
files-received-mount-starting = Shared file admitted; mount is starting
files-received-admitted = Shared file admitted
files-received-link-read-failed = Could not read the shared-file link
files-received-link-too-large = Shared-file link exceeds its bound
files-received-link-invalid-text = Shared-file link is not valid text
files-received-link-empty = Shared-file link is empty

## Application chrome and navigation

files-app-title = Files
files-back = Back
files-forward = Forward
files-up = Up one folder
files-view-list = List
files-view-grid = Grid
files-sort-by = Sort by
files-view-options = View options
files-path-placeholder = Type a path, e.g. ~/Documents
files-place-home = Home
files-place-favourites = Favourites
files-place-favorites = Favourites
files-place-system = System
files-place-root = Root
files-place-trash = Trash
files-place-workspace = Workspace
files-place-documents = Documents
files-place-downloads = Downloads
files-place-pictures = Pictures
files-place-music = Music
files-place-videos = Videos

## List, empty/error state and accessibility

files-column-name = Name
files-column-size = Size
files-column-modified = Modified
files-try-again = Try Again
files-loading = Loading…
files-loading-folder = Opening { $path }…
files-loading-title = Opening folder
files-loading-detail = Reading { $path }
files-directory-read-failed = Could not open this folder: { $error }
files-load-error-title = Couldn’t open this folder
files-load-error-detail = { $error } · { $path }
files-a11y-load-error = { $error }. Press Enter to try again
files-a11y-panel-details = Details
files-a11y-dialog-close = { $summary }. Press Escape to close
files-a11y-activity = Files activity
files-a11y-current-folder = Current folder: { $path }
files-a11y-places = Places
files-a11y-favourite = Favourite
files-a11y-system-location = System location
files-a11y-place-description = { $section }, { $path }
files-a11y-breadcrumbs = Breadcrumbs
files-a11y-current-breadcrumb = Current folder, { $path }. Press Enter to edit the path
files-a11y-open-folder = Open { $path }
files-empty-trash = Trash is empty
files-empty-folder = This folder is empty
files-item-count = { $count } { $count ->
    [one] item
   *[other] items
}
files-selected-count = { $base }  ·  { $count } selected
files-a11y-list = Files
files-a11y-folder = Folder
files-a11y-file = File, { $size }
files-new-name-placeholder = New name

## Properties

files-property-type = Type: { $type }
files-property-location = Location: { $location }
files-property-size = Size: { $size }
files-property-modified = Modified: { $time }
files-property-dimensions = Dimensions: { $width } × { $height } px
files-property-duration = Duration: { $duration }
files-property-pages = Pages: { $count }
files-property-codec = Codec: { $codec }
files-property-container = Container: { $container }
files-property-unknown = Unknown
files-properties-title = Properties — { $name }
files-properties-summary = Filesystem metadata

## Ordinary operation results

files-new-folder-default-name = New Folder
files-created-folder = Created folder
files-new-folder-failed = New folder failed: { $error }
files-permanently-deleted = { $count ->
    [one] Permanently deleted 1 item
   *[other] Permanently deleted { $count } items
}
files-delete-failed = Delete failed: { $error }
files-moved-to-trash = { $count ->
    [one] Moved 1 item to Trash
   *[other] Moved { $count } items to Trash
}
files-restored = { $count ->
    [one] Restored 1 item from Trash
   *[other] Restored { $count } items from Trash
}
files-undo-move-trash = Undo Move to Trash
files-undo-trash-restored = Restored { $count ->
    [one] 1 item
   *[other] { $count } items
}
files-undo-trash-unavailable = Undo is no longer available because Trash changed
files-undo-trash-failed = Could not restore the trashed items: { $error }
files-restore-failed = Restore failed: { $error }
files-trash-already-empty = Trash is already empty
files-emptied-trash = Emptied Trash ({ $count })
files-empty-trash-failed = Empty Trash failed: { $error }
files-copied = { $count ->
    [one] Copied 1 item
   *[other] Copied { $count } items
}
files-cut = { $count ->
    [one] Cut 1 item
   *[other] Cut { $count } items
}
files-created-file = Created file
files-new-file-failed = New file failed: { $error }
files-added-favourite = Added to Favourites
files-removed-favourite = Removed from Favourites
files-moved-with-failures = Moved { $moved } to “{ $destination }” ({ $failed } failed)
files-moved-to-folder = { $count ->
    [one] Moved 1 item to “{ $destination }”
   *[other] Moved { $count } items to “{ $destination }”
}
files-nothing-to-move = Nothing to move
files-pasted = { $count ->
    [one] Pasted 1 item
   *[other] Pasted { $count } items
}
files-pasted-with-failures = Pasted { $count } ({ $failed } failed)
files-renamed = Renamed
files-rename-failed = Rename failed: { $error }

## Context, view and sort menus

files-menu-open = Open
files-action-reveal = Reveal in Files
files-menu-restore = Restore
files-menu-delete-permanently = Delete Permanently
files-menu-empty-trash = Empty Trash
files-menu-rename = Rename
files-action-rename-prompt = New name for the item
files-menu-cut = Cut
files-menu-copy = Copy
files-menu-properties = Properties…
files-menu-paste = Paste
files-menu-new-folder = New Folder
files-menu-new-file = New File  ›
files-menu-move-trash = Move to Trash
files-menu-add-favourite = Add to Favourites
files-menu-remove-favourite = Remove from Favourites
files-menu-hide-hidden = Hide Hidden Files
files-menu-show-hidden = Show Hidden Files
files-menu-sort-name = Sort by Name
files-menu-sort-size = Sort by Size
files-menu-sort-type = Sort by Type
files-menu-sort-date = Sort by Date Modified
files-menu-open-terminal = Open Terminal Here
files-sort-name = Name
files-sort-size = Size
files-sort-type = Type
files-sort-date = Date Modified
files-sort-ascending = Ascending
files-sort-descending = Descending
files-new-from-template = New { $name }
files-drag-items = { $count } items

## Archives

files-archive-extract = Extract archive…
files-archive-extract-here = Extract Here
files-archive-compress = Compress to ZIP
files-archive-select-compress = Select files or folders to compress
files-archive-read-only = Archives are read-only until extracted
files-archive-open-after-extract = Extract this archive to open or edit files inside it
files-archive-select = Select a ZIP, TAR, or TAR.GZ archive to extract
files-archive-extracted = { $count ->
    [one] Extracted 1 file
   *[other] Extracted { $count } files
}
files-archive-extracted-partial = Extracted { $count } files; { $failures }
files-archive-extract-failed = Could not extract archive: { $error }
files-archive-created = Created { $name }
files-archive-create-failed = Could not create archive: { $error }

## File-operation validation

files-folder-name-empty = Folder name cannot be empty
files-folder-name-slash = Folder name cannot contain '/'
files-name-empty = Name cannot be empty
files-name-slash = Name cannot contain '/'
files-no-parent = No parent directory
files-name-exists = “{ $name }” already exists
files-destination-inspect-failed = Cannot check “{ $path }”: { $error }
files-destination-names-exhausted = Too many files named “{ $name }” in “{ $path }”. Choose another name or folder.
files-source-no-name = Source has no file name
files-menu-send-nearby = Send to Nearby Device…
files-action-send-nearby-device = Send to { $device }
files-nearby-send-to-device = Send to { $device }
files-nearby-select-one = Select one file or folder to send.
files-nearby-loading-devices = Looking for your certified devices…
files-nearby-no-devices = No certified devices are online.
files-nearby-choose-device = Choose a certified device.
files-nearby-queueing = Preparing a secure Nearby Send…
files-nearby-accepted = Nearby Send accepted.
files-nearby-declined = Nearby Send declined.
files-nearby-cancelled = Nearby Send cancelled.
files-nearby-retrying = Retrying Nearby Send…
files-nearby-accept = Accept
files-nearby-retry = Retry
files-nearby-consent-detail = Nothing is saved until you accept this exact transfer.
files-nearby-retry-detail = The source remains available, so this resumable transfer can be retried safely.
files-nearby-offer-title = Nearby Send from { $device }
files-nearby-offer-summary = Receive { $name }?
files-nearby-offer-size = Transfer size: { $bytes } bytes
files-nearby-failed-title = Nearby Send failed
files-nearby-failed-device = Certified device: { $device }
files-nearby-choose-destination = Choose a Destination
files-nearby-no-destinations = No approved writable workspace folder is available.
files-nearby-destination-count = Choose from { $count } approved destinations.
files-nearby-save-to-destination = Save to { $destination }
files-nearby-save-and-remember = Save to { $destination } and use it for this session
files-share-not-available = Sharing is not available here
files-name-invalid = Name is not valid
